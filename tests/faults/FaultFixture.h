// The two ways the fault tests meet the launcher: its real main window in the test's
// own process, with real boxes answered by the watcher; and the real TOL.exe started
// as a player starts it, its window and boxes read from outside. Both give the
// launcher a tutorial folder, a temporary folder (TMP and TEMP) and settings of the
// test's own, with a player's files among them that no fault may touch.
#pragma once

#include "FaultSupport.h"
#include "MainWindowFixture.h"
#include "Paths.h"
#include "ProgramSupport.h"

#include <commctrl.h>

#include <memory>
#include <mutex>

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

// The launcher's copies directly in Folder (a path ending in "\").
inline std::vector<std::string> CopiesIn(const std::string& Folder)
{
    std::vector<std::string> Names;
    for (const auto& Name : ListFolder(Folder))
        if (IsLauncherCopyName(Name))
            Names.push_back(Name);
    return Names;
}

// Settings that name Tutorial and Offset, and two zones.
inline std::string SettingsFor(const std::string& Tutorial, const std::string& Offset)
{
    return "[Settings]\r\nTutorial=" + Tutorial + "\r\nOffset=" + Offset
           + "\r\n[Zones]\r\nNorth Qeynos=qeynos2x|Open\r\nPlane of Fear=fearplane|Dangerous\r\n";
}

// Bytes with the 12-byte zone-name field written at Offset, as the launch writes it.
inline std::string WithZone(std::string Bytes, std::size_t Offset, const std::string& Zone)
{
    const std::string Field = (Zone + std::string(12, '\0')).substr(0, 12);
    if (Bytes.size() < Offset + 12)
        Bytes.resize(Offset + 12, '\0');
    return Bytes.replace(Offset, 12, Field);
}

// Waits until no program runs from FileName any more (a running program's file cannot
// be opened without sharing); false after the timeout.
inline bool WaitUntilNotRunning(const std::string& FileName)
{
    for (int Attempt = 0; Attempt < 1500; ++Attempt) {
        const HANDLE File = CreateFileA(FileName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (File != INVALID_HANDLE_VALUE) {
            CloseHandle(File);
            return true;
        }
        if (GetLastError() == ERROR_FILE_NOT_FOUND)
            return true;
        Sleep(20);
    }
    return false;
}

// What a started stand-in writes beside itself.
inline const std::vector<std::string> StandInByProducts = {"StandInReport.txt", "StandInReport.part"};

class FaultWindowTest : public MainWindowTest {
protected:
    FaultWindowTest()
    {
        WritePlayersFiles(Game, Temp);
        // The boxes the window shows: each is described and answered with Enter, and the
        // icon of its picture kept.
        Watcher.SetAction([this](const TBox& Box) {
            HICON Icon = nullptr;
            for (const auto& Control : Box.Controls)
                if (lstrcmpiA(Control.Class.c_str(), "Static") == 0 && (Control.Style & SS_TYPEMASK) == SS_ICON)
                    Icon = reinterpret_cast<HICON>(SendMessageA(Control.Handle, STM_GETICON, 0, 0));
            {
                std::lock_guard Guard(FIconLock);
                FIcons.push_back(Icon);
            }
            PressEnter(Box);
        });
    }
    ~FaultWindowTest() override
    {
        Watcher.SetAction(PressEnter);
        Form.reset();
        RemoveTreeVerbatim(Game.Path());
    }

    // The tutorial's folder, the temporary folder and the settings file as they are now.
    TDiskSnapshot Record() const
    {
        TDiskSnapshot Snapshot;
        Snapshot.AddFolder(Game.Path());
        Snapshot.AddFolder(Temp.Path());
        Snapshot.AddFile(TSettingsBesideExe::Path());
        return Snapshot;
    }

    // Presses Run as a click does; the result of running the window's message loop.
    int PressRun()
    {
        Watcher.Clear();
        {
            std::lock_guard Guard(FIconLock);
            FIcons.clear();
        }
        PostMessageA(Form->BitBtnRun, BM_CLICK, 0, 0);
        return Pump(Main());
    }

    // The icons of the boxes since Run was pressed, in order.
    std::vector<HICON> Icons()
    {
        std::lock_guard Guard(FIconLock);
        return FIcons;
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

    // The zone a started copy reported in Folder, once it has; deletes the report.
    static std::string StartedZone(const std::string& Folder)
    {
        if (!WaitForFile(Folder + "StandInReport.txt", std::chrono::seconds(30)))
            return "<nothing was started>";
        const std::string Zone = ReadStandInReport(Folder).Zone;
        DeleteFileA((Folder + "StandInReport.txt").c_str());
        return Zone;
    }

    // Deletes the launcher's copies in Folder as the next start does, once every
    // started copy has ended (each stand-in here leaves at once).
    static void WaitUntilCopiesCanGo(const std::string& Folder)
    {
        for (int Attempt = 0; Attempt < 400 && !CopiesIn(Folder).empty(); ++Attempt) {
            for (const auto& Name : CopiesIn(Folder))
                DeleteFileA((Folder + Name).c_str());
            Sleep(50);
        }
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
        ASSERT_EQ(Icons().size(), 1u);
        EXPECT_EQ(Icons()[0], LoadIconA(nullptr, Icon)) << IconName;
        EXPECT_TRUE(IsWindowVisible(Main())) << "the window stays open";
    }

    std::mutex FIconLock;
    std::vector<HICON> FIcons;
};

// The zone list of the program's main window, seen from outside.
inline HWND ZoneListOf(HWND Main)
{
    const auto Lists = ChildrenOfClass(Main, "SysListView32");
    return Lists.size() == 1 ? Lists[0] : nullptr;
}

// The main window once it shows; fails the test with the box's text when a box of the
// program comes first.
inline HWND WaitForMainWindow(TProgram& Program)
{
    for (int Attempt = 0; Attempt < 1000; ++Attempt) {
        if (const HWND Main = Program.FindWindow("TFormMain", "Tolvane"))
            return Main;
        for (const char* Caption : {"Tolvane", "Warning", "Error"})
            if (const HWND Box = Program.FindWindow("#32770", Caption)) {
                ADD_FAILURE() << "a box came first: " << Caption << ": " << testing::PrintToString(ChildTexts(Box, "Static"));
                PressEnterIn(Box);
            }
        if (WaitForSingleObject(Program.Process(), 20) == WAIT_OBJECT_0)
            break;
    }
    return nullptr;
}

// A box a program showed: its caption and the texts of its static controls.
struct TSeenBox {
    std::string Caption;
    std::vector<std::string> Texts;
};

// Answers each box the program shows with Enter, as a player would, keeping what each
// said, until the program ends; ExitCode is then its exit code (-1: still running).
inline std::vector<TSeenBox> AnswerBoxesUntilExit(TProgram& Program, long& ExitCode)
{
    std::vector<TSeenBox> Seen;
    ExitCode = -1;
    for (int Attempt = 0; Attempt < 3000; ++Attempt) {
        if (WaitForSingleObject(Program.Process(), 20) == WAIT_OBJECT_0) {
            ExitCode = Program.WaitForExit(0);
            break;
        }
        const HWND Box = Program.FindWindow("#32770");
        if (!Box)
            continue;
        Sleep(100); // the box has shown itself; let it finish setting its focus
        Seen.push_back({Text(Box), ChildTexts(Box, "Static")});
        PressEnterIn(Box);
        for (int Wait = 0; Wait < 500 && IsWindow(Box) && IsWindowVisible(Box); ++Wait)
            Sleep(20);
    }
    return Seen;
}

class FaultProgramTest : public ::testing::Test {
protected:
    FaultProgramTest()
    {
        WriteBytes(App / "TOL.exe", ReadBytes(WinePath(TOLVANE_TOL_EXE)));
        WriteBytes(Game / "Tutorial.exe", ReadBytes(StandInFileName()));
        WriteBytes(Game / "StandInExit.txt", "0");
        WritePlayersFiles(Game, Temp);
    }
    ~FaultProgramTest() override
    {
        RemoveTreeVerbatim(Game.Path());
        RemoveTreeVerbatim(Temp.Path());
    }

    std::string Settings() const { return App / "TOL.ini"; }
    std::string Tutorial() const { return Game / "Tutorial.exe"; }

    TDiskSnapshot Record() const
    {
        TDiskSnapshot Snapshot;
        Snapshot.AddFolder(Game.Path());
        Snapshot.AddFolder(Temp.Path());
        Snapshot.AddFile(Settings());
        Snapshot.AddFile(App / "TOL.exe");
        return Snapshot;
    }

    // Starts the program and waits for its main window.
    HWND Start(std::unique_ptr<TProgram>& Program)
    {
        Program = std::make_unique<TProgram>(App / "TOL.exe", App.Path());
        return WaitForMainWindow(*Program);
    }

    // Types Offset into the program's offset box and presses Run.
    static void TypeOffsetAndRun(HWND Main, const std::string& Offset)
    {
        const auto Boxes = ChildrenOfClass(Main, "ComboBox");
        ASSERT_EQ(Boxes.size(), 1u);
        SendMessageA(Boxes[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Offset.c_str()));
        ASSERT_EQ(Text(Boxes[0]), Offset);
        PostMessageA(ChildWithText(Main, "Button", "&Run"), BM_CLICK, 0, 0);
    }

    // Closes the main window as the player does; the program's exit code.
    static long CloseAndWait(TProgram& Program, HWND Main)
    {
        PostMessageA(Main, WM_CLOSE, 0, 0);
        return Program.WaitForExit();
    }

    TUnmanagedWindows Unmanaged{"TOL.exe"};
    TTestFolder App{"app"};
    TTestFolder Game{"game"};
    TTestFolder Temp{"tmp"};
    TScopedEnvironment TmpVariable{"TMP", Temp.Path()}; // passed on to the program
    TScopedEnvironment TempVariable{"TEMP", Temp.Path()};
};

} // namespace tol::test
