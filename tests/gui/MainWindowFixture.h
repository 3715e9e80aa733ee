// The real main window of a launcher whose settings, tutorial program (the stand-in)
// and temporary folder are the test's own; messages go through the real boxes.
#pragma once

#include "Application.h"
#include "FormMainImp.h"
#include "GuiSupport.h"
#include "MessageDlg.h"

#include <gtest/gtest.h>

#include <memory>

namespace tol::test {

class MainWindowTest : public ::testing::Test, protected TStandInGame {
protected:
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

    void TearDown() override { EXPECT_TRUE(Watcher.Problems().empty()) << testing::PrintToString(Watcher.Problems()); }

    HWND Main() const { return Form ? Form->Handle() : nullptr; }

    bool FocusIn(HWND Control) const
    {
        const HWND Focus = GetFocus();
        return Focus && (Focus == Control || IsChild(Control, Focus));
    }

    // Input as the player gives it, then the window's message loop run until the thread
    // is idle; what the loop ended with (see Pump).
    int Press(HWND Button)
    {
        PostMessageA(Button, BM_CLICK, 0, 0);
        return Pump(Main());
    }
    int Click(HWND Window, POINT At, WPARAM Keys = 0)
    {
        PostClick(Window, At, Keys);
        return Pump(Main());
    }
    int Key(UINT Key, bool WithAlt = false)
    {
        PostKey(GetFocus(), Key, WithAlt);
        return Pump(Main());
    }
    // Run pressed, the boxes seen before forgotten.
    int PressRun()
    {
        Watcher.Clear();
        return Press(Form->BitBtnRun);
    }

    // Run pressed: the program's message loop ends, no box shows, and the copy started
    // in Folder (the game's when empty) reports Zone.
    ::testing::AssertionResult RunLaunches(const std::string& Zone, std::string Folder = {})
    {
        const int Ended = PressRun();
        const auto Boxes = Watcher.Boxes();
        const std::string Started = StartedZone(Folder.empty() ? Game.Path() : Folder);
        if (Ended == Application.ExitCode && Boxes.empty() && Started == Zone)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the loop ended with " << Ended << ", " << Boxes.size()
                                             << " boxes showed, the copy reported " << Started;
    }

    // The one box since the watcher was cleared, a system message box: its caption,
    // Message among its texts, OK as its only button, the system's Icon, and unless the
    // Run ended the program, the window still open.
    void ExpectOneBox(const std::string& Message, const char* Caption, LPCSTR Icon, bool WindowStays = true)
    {
        const char* IconName = Icon == IDI_HAND ? "the stop icon" : "the exclamation icon";
        const auto Boxes = Watcher.Boxes();
        ASSERT_EQ(Boxes.size(), 1u) << Message;
        EXPECT_EQ(Boxes[0].Class, "#32770");
        EXPECT_EQ(Boxes[0].Caption, Caption);
        EXPECT_TRUE(Boxes[0].Find("Static", Message))
            << "expected \"" << Message << "\", shown " << testing::PrintToString(Boxes[0].Texts("Static"));
        EXPECT_EQ(Boxes[0].Texts("Button"), std::vector<std::string>{"OK"});
        ASSERT_TRUE(Boxes[0].Icon) << "no icon; expected " << IconName;
        EXPECT_EQ(Boxes[0].Icon, LoadIconA(nullptr, Icon)) << IconName;
        if (WindowStays) {
            EXPECT_TRUE(IsWindowVisible(Main())) << "the window stays open";
        }
    }
    // The general handler's box (the message with a full stop added), and a warning.
    void ExpectGeneralHandlerBox(const std::string& Message) { ExpectOneBox(Message, "Tolvane", IDI_HAND); }
    void ExpectWarningBox(const std::string& Message) { ExpectOneBox(Message, "Warning", IDI_EXCLAMATION); }

    TScopedEnvironment Tmp{"TMP", Temp.Path()};
    TMessageBoxHandler PreviousHandler = SetMessageBoxHandler(ShowMessageDlg);
    // Answers every box the window opens, with Enter unless a test says otherwise.
    TBoxWatcher Watcher;
    std::unique_ptr<TSettingsBesideExe> Settings;
    std::unique_ptr<TFormMain> Form;
};

} // namespace tol::test
