// The two ways the fault tests meet the launcher: its real main window in the test's
// own process, with real boxes answered by the watcher; and the real TOL.exe started
// as a player starts it, its window and boxes read from outside. Both give the
// launcher a tutorial folder, a temporary folder (TMP and TEMP) and settings of the
// test's own, with a player's files among them that no fault may touch.
#pragma once

#include "FaultSupport.h"
#include "MainWindowFixture.h"
#include "ProgramFixture.h"

#include <commctrl.h>

namespace tol::test {

// A player's files beside the tutorial and in the temporary folder.
inline void WritePlayersFiles(const TTestFolder& Game, const TTestFolder& Temp)
{
    WriteBytes(Game / "ReadMe.txt", "The player's own notes.\r\n");
    CreateDirectoryA((Game / "Saves").c_str(), nullptr);
    WriteBytes(Game / "Saves\\slot1.sav", std::string("\x00\x01\xFEsaved game\xFF", 14));
    WriteBytes(Temp / "notes.txt", "Another program's notes.\r\n");
    WriteBytes(Temp / "TOL1.tmp", "Another program's temporary file.");
}

// True once no program runs from FileName any more (a running program's file cannot
// be opened without sharing); false after the timeout.
inline bool WaitUntilNotRunning(const std::string& FileName)
{
    return WaitUntil([&] {
        const HANDLE File = CreateFileA(FileName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (File == INVALID_HANDLE_VALUE)
            return GetLastError() == ERROR_FILE_NOT_FOUND;
        CloseHandle(File);
        return true;
    }, 30s);
}

class FaultWindowTest : public MainWindowTest {
protected:
    FaultWindowTest() { WritePlayersFiles(Game, Temp); }

    // The tutorial's folder, the temporary folder and the settings file as they are now.
    TDiskSnapshot Record() const { return {{Game.Path(), Temp.Path()}, {TSettingsBesideExe::Path()}}; }

    // Presses Run as a click does; the result of running the window's message loop.
    int PressRun()
    {
        Watcher.Clear();
        PostMessageA(Form->BitBtnRun, BM_CLICK, 0, 0);
        return Pump(Main());
    }

    // One box since Run was pressed: the general handler's, with its stop icon and the
    // message (a full stop added) as its text, over the window that stays open.
    void ExpectGeneralHandlerBox(const std::string& Message)
    {
        ExpectOneBox(Message, "Tolvane", IDI_HAND, "the stop icon", "#32770");
    }

    // One box since Run was pressed: a warning with Message, the window still open.
    void ExpectWarningBox(const std::string& Message)
    {
        ExpectOneBox(Message, "Warning", IDI_EXCLAMATION, "the exclamation icon");
    }

    // Deletes the launcher's copies in Folder as the next start does, once every
    // started copy has ended (each stand-in here leaves at once).
    static void WaitUntilCopiesCanGo(const std::string& Folder)
    {
        for (const auto& Name : Copies(Folder))
            DeleteOnceEnded(Folder + Name);
    }

    TScopedEnvironment TempVariable{"TEMP", Temp.Path()};

private:
    // The one box since Run was pressed: its caption, Message among its texts, OK as its
    // only button, the system's Icon (named IconName in a failure), and the window
    // still open; its window class too, where Class is given.
    void ExpectOneBox(const std::string& Message, const char* Caption, LPCSTR Icon, const char* IconName,
                      const char* Class = nullptr)
    {
        const auto Boxes = Watcher.Boxes();
        ASSERT_EQ(Boxes.size(), 1u) << Message;
        if (Class) {
            EXPECT_EQ(Boxes[0].Class, Class);
        }
        EXPECT_EQ(Boxes[0].Caption, Caption);
        EXPECT_TRUE(Boxes[0].Find("Static", Message)) << "expected \"" << Message << "\", shown "
                                                       << testing::PrintToString(Boxes[0].Texts("Static"));
        EXPECT_EQ(Boxes[0].Texts("Button"), std::vector<std::string>{"OK"});
        ASSERT_TRUE(Boxes[0].Icon) << "no icon; expected " << IconName;
        EXPECT_EQ(Boxes[0].Icon, LoadIconA(nullptr, Icon)) << IconName;
        EXPECT_TRUE(IsWindowVisible(Main())) << "the window stays open";
    }
};

class FaultProgramTest : public ProgramTest {
protected:
    FaultProgramTest() { WritePlayersFiles(Game, Temp); }

    // The tutorial's folder, the temporary folder, the settings file and the program as they are now.
    TDiskSnapshot Record() const { return {{Game.Path(), Temp.Path()}, {Settings(), App / "TOL.exe"}}; }

    // Types Offset into the program's offset box and presses Run.
    static void TypeOffsetAndRun(HWND Main, const std::string& Offset)
    {
        const auto Boxes = Children(Main, "ComboBox");
        ASSERT_EQ(Boxes.size(), 1u);
        SendMessageA(Boxes[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Offset.c_str()));
        ASSERT_EQ(Text(Boxes[0]), Offset);
        PressButton(Main, "&Run");
    }
};

} // namespace tol::test
