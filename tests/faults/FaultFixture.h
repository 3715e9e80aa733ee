// The two ways the fault tests meet the launcher (its real main window in the test's
// process, and the real TOL.exe started as a player starts it), both with a player's
// files among the test's own that no fault may touch; and the fault tests' helpers.
#pragma once

#include "MainWindowFixture.h"
#include "ProgramFixture.h"

namespace tol::test {

// Closes the stand-in copies started from Folder, once their windows show, and waits
// until they have ended; false when none showed in time. A stand-in in a folder whose
// path is too long for the ANSI calls cannot read its "StandInExit.txt" and stays.
bool CloseStandInsStartedIn(const std::string& Folder);

// The boxes of a launch whose copy could not start: the system's own first, if it
// shows one, then the launcher's one warning, naming the copy and giving the system's
// reason, with the copy named where the reason has a place for it.
void ExpectCannotStart(const std::vector<TBox>& Boxes, const std::string& Copy);

// A second program (FaultLocker.exe) that holds a file open for reading without
// sharing it, as another program of the player's might, until the object ends.
class THeldFile {
public:
    explicit THeldFile(const std::string& FileName);
    ~THeldFile() { Release(); }
    THeldFile(const THeldFile&) = delete;
    THeldFile& operator=(const THeldFile&) = delete;
    void Release();

private:
    TKernelHandle FReady, FRelease; // events
    TProcess FLocker;
};

// A running copy of the stand-in tutorial program under FileName that stays until the
// object ends; the stand-in reads how long to stay from the file beside it, which is
// set to "at once" again when it has read it, for the copies started after it.
class TRunningCopy : public TProcess {
public:
    explicit TRunningCopy(const std::string& FileName);
};

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
    const auto LetGo = [&] {
        const TFileHandle File(CreateFileA(FileName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        return File || GetLastError() == ERROR_FILE_NOT_FOUND;
    };
    return WaitUntil(LetGo, 30s);
}

class FaultWindowTest : public MainWindowTest {
protected:
    FaultWindowTest() { WritePlayersFiles(Game, Temp); }

    // The tutorial's folder, the temporary folder and the settings file as they are now.
    TDiskSnapshot Record() const { return {{Game.Path(), Temp.Path()}, {TSettingsBesideExe::Path()}}; }
    // Opens the window on the standard settings; the disk as it is then.
    TDiskSnapshot OpenAndRecord()
    {
        Open(StandardSettings());
        return Record();
    }

    // Run refused for each of Values, which Enter puts in place: a warning with the
    // value's Message, the window open, the focus in Focus; then nothing made, nothing lost.
    template <typename TValue, typename TEnter, typename TMessage>
    void ExpectEachRefused(const std::vector<TValue>& Values, TEnter Enter, TMessage Message, HWND Focus)
    {
        const TDiskSnapshot Before = Record();
        for (const TValue& Value : Values) {
            Enter(Value);
            ASSERT_EQ(PressRun(), PumpIdle) << Value;
            ExpectWarningBox(Message(Value));
            EXPECT_TRUE(FocusIn(Focus)) << Value;
        }
        EXPECT_TRUE(Copies(Game.Path()).empty());
        EXPECT_TRUE(Copies(Temp.Path()).empty());
        EXPECT_TRUE(NothingLost(Before));
    }

    // The same for texts typed into Field, where the focus goes back.
    template <typename TMessage>
    void ExpectEachRefused(HWND Field, const std::vector<std::string>& Values, TMessage Message)
    {
        ExpectEachRefused(
            Values, [&](const std::string& Value) { SetWindowTextA(Field, Value.c_str()); }, Message, Field);
    }

    // Deletes the launcher's copies in Folder as the next start does, once every
    // started copy has ended (each stand-in here leaves at once).
    static void WaitUntilCopiesCanGo(const std::string& Folder)
    {
        for (const auto& Name : Copies(Folder))
            DeleteOnceEnded(Folder + Name);
    }

    TScopedEnvironment TempVariable{"TEMP", Temp.Path()};
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

    // Writes Content as the settings file, records the disk as it is then, and starts
    // the program; its main window.
    HWND StartWith(const std::string& Content)
    {
        WriteBytes(Settings(), Content);
        Before = Record();
        Program = Launch();
        return MainWindowOf(Program);
    }

    TDiskSnapshot Before;
    TProcess Program;
};

} // namespace tol::test
