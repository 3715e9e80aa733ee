// The real main window of a launcher whose settings, tutorial program (the stand-in)
// and temporary folder are the test's own; messages go through the real boxes.
#pragma once

#include "FormMainImp.h"
#include "GuiSupport.h"
#include "MessageDlg.h"

#include <gtest/gtest.h>

#include <memory>

namespace tol::test {

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : Original(CopyStandIn(Tutorial())) {}
    ~MainWindowTest() override
    {
        Watcher.SetAction(PressEnter); // the test's own answer may refer to what is gone
        Form.reset();
        Settings.reset();
        SetMessageBoxHandler(std::move(PreviousHandler));
        MSG Left;
        while (PeekMessageA(&Left, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    std::string Tutorial() const { return Game / "Tutorial.exe"; }

    std::string StandardSettings() const { return SettingsFor(Tutorial(), std::to_string(StandInOffset())); }

    // Writes the settings and creates the window as the program block does: the
    // constructor runs the start-up, then the window is shown and the path box focused.
    void Open(const std::string& Content)
    {
        Form.reset();
        Settings.reset();
        Settings = std::make_unique<TSettingsBesideExe>(Content);
        Form = std::make_unique<TFormMain>();
        ShowWindow(Form->Handle(), SW_SHOWNORMAL);
        Form->FocusFirstControl();
        ASSERT_EQ(Pump(Main()), PumpIdle);
    }

    void TearDown() override
    {
        EXPECT_TRUE(Watcher.Problems().empty()) << testing::PrintToString(Watcher.Problems());
    }

    HWND Main() const { return Form ? Form->Handle() : nullptr; }

    bool FocusIn(HWND Control) const
    {
        const HWND Focus = GetFocus();
        return Focus && (Focus == Control || IsChild(Control, Focus));
    }

    TTestFolder Game{"game"};
    TTestFolder Temp{"tmp"};
    TScopedEnvironment Tmp{"TMP", Temp.Path()};
    std::string Original;
    TMessageBoxHandler PreviousHandler = SetMessageBoxHandler(ShowMessageDlg);
    // Answers every box the window opens, with Enter unless a test says otherwise.
    TBoxWatcher Watcher;
    std::unique_ptr<TSettingsBesideExe> Settings;
    std::unique_ptr<TFormMain> Form;
};

} // namespace tol::test
