// What the Windows tests share: the library's units (files, processes, windows, the
// wait), the stand-in tutorial program and what it reports, settings files, and
// stand-ins for the system and for the main window in a launch.
#pragma once

#include "Files.h"
#include "LaunchImp.h"
#include "Messages.h"
#include "Processes.h"
#include "Wait.h"
#include "Windowing.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tol::test {

// Sets a file's times to the first of January of Year.
void SetFileYear(const std::string& FileName, int Year);

// The offset of the stand-in tutorial program's zone-name field.
long StandInOffset();
// Copies the stand-in to FileName, to stay Stay milliseconds once started ("0": it
// leaves at once; it reads this from "StandInExit.txt" beside it); its bytes.
std::string CopyStandIn(const std::string& FileName, const std::string& Stay = "0");
// The zone and working folder a stand-in started in Folder reported, once it has;
// none within Deadline.
struct TStandInReport {
    std::string Zone, WorkingFolder;
    std::string CompatLayer; // "__COMPAT_LAYER" as the copy got it, "(none)" without one
};
std::optional<TStandInReport> WaitForStandInReport(const std::string& Folder, std::chrono::milliseconds Deadline = 30s);
// The zone a copy started in Folder reported, once it has; the report is deleted.
std::string StartedZone(const std::string& Folder);
// Tutorial paths in Folder with wildcards: each matches a file there, but names no one
// file, and is not found.
std::vector<std::string> WildcardPaths(const std::string& Folder);

// For EXPECT_TRUE: no program was started from Folder. None runs from there now, and
// none ran there and ended: a stand-in leaves its report before it ends.
::testing::AssertionResult NothingStartedIn(const std::string& Folder);
// What a started stand-in writes beside itself.
inline const std::vector<std::string> StandInByProducts = {"StandInReport.txt", "StandInReport.part"};
// Bytes with the 12-byte zone-name field written at Offset, as the launch writes it.
std::string WithZone(std::string Bytes, std::size_t Offset, const std::string& Zone);
// Deletes FileName once no program runs from it any more (a running program's file
// cannot be deleted); false when one still does after Deadline.
bool DeleteOnceEnded(const std::string& FileName, std::chrono::milliseconds Deadline = 20s);

// Run's warning for a tutorial path that names no file.
inline std::string NotFound(const std::string& Path) { return "Tutorial file, \"" + Path + "\", not found."; }

// A settings file that names Tutorial and Offset, with Zones ("Name=internal|status"
// lines): by default three, the second one's status holding an "=".
inline constexpr char StandardZones[] = "East Commonlands=ecommons|Open\r\nNorth Qeynos=qeynos2x|Gates = shut\r\n"
                                        "Plane of Fear=fearplane|Dangerous, bring friends\r\n";
std::string SettingsFor(const std::string& Tutorial, const std::string& Offset,
                        const std::string& Zones = StandardZones);

// A game folder of the test's own whose tutorial program is the stand-in, and a
// temporary folder of its own.
struct TStandInGame {
    TTestFolder Game{"game"}, Temp{"tmp"};
    std::string Original = CopyStandIn(Tutorial()); // the tutorial program's bytes
    std::string Tutorial() const { return Game / "Tutorial.exe"; }
    // Settings that name the stand-in and its offset, with Zones.
    std::string StandardSettings(const std::string& Zones = StandardZones) const
    {
        return SettingsFor(Tutorial(), std::to_string(StandInOffset()), Zones);
    }
};

// The launcher's main window once it shows; fails the test with the box's text when a
// box of the program comes first.
HWND MainWindowOf(const TProcess& Program);

// For EXPECT_TRUE: a snapshot with no differences.
::testing::AssertionResult NothingLost(const TDiskSnapshot& Snapshot, const std::vector<std::string>& ByProducts = {});

// "TOL.ini" beside the running test program, where the launcher looks for it; removed
// at the end.
class TSettingsBesideExe {
public:
    explicit TSettingsBesideExe(const std::string& Content) { WriteBytes(Path(), Content); }
    ~TSettingsBesideExe() { DeleteFileA(Path().c_str()); }
    TSettingsBesideExe(const TSettingsBesideExe&) = delete;
    TSettingsBesideExe& operator=(const TSettingsBesideExe&) = delete;
    static std::string Path();
};

// For the object's lifetime, the value Name under Key of Root (in its 64-bit view)
// holds Text, or Number, or is absent for no Text; afterwards it is what it was.
class TScopedRegistryValue {
public:
    TScopedRegistryValue(HKEY Root, const char* Key, std::string Name, const std::optional<std::string>& Text);
    TScopedRegistryValue(HKEY Root, const char* Key, std::string Name, DWORD Number);
    ~TScopedRegistryValue();
    TScopedRegistryValue(const TScopedRegistryValue&) = delete;
    TScopedRegistryValue& operator=(const TScopedRegistryValue&) = delete;

private:
    TScopedRegistryValue(HKEY Root, const char* Key, std::string Name);
    void Set(DWORD Type, const void* Data, std::size_t Size) const;
    HKEY FKey = nullptr;
    std::string FName;
    bool FHadOld = false;
    DWORD FOldType = REG_NONE;
    std::vector<BYTE> FOld;
};

// Sets an environment variable, or removes it for no Value, for the test's duration.
class TScopedEnvironment {
public:
    TScopedEnvironment(std::string Name, const std::optional<std::string>& Value);
    ~TScopedEnvironment();

private:
    std::string FName, FOld;
    bool FHadOld;
};

// A test folder of its own that is the current folder until the end, for what a test
// writes into "the current folder".
class TCurrentTestFolder : public TTestFolder {
public:
    TCurrentTestFolder();
    ~TCurrentTestFolder();

private:
    std::string FPrevious;
};

// Records the launcher's message boxes instead of showing them.
class TMessageRecorder {
public:
    struct TMessage {
        TMessageKind Kind;
        std::string Text;
    };
    TMessageRecorder();
    ~TMessageRecorder();
    std::vector<TMessage> Messages;

private:
    TMessageBoxHandler FPrevious;
};

// For the object's lifetime, this program's calls of Function in Dll go to Replacement
// instead: its import table is redirected, and nothing else changes. It lets a test
// give the launcher a system that answers as a real one may, but Wine does not.
class TImportRedirect {
public:
    TImportRedirect(const char* Dll, const char* Function, void* Replacement);
    ~TImportRedirect();
    TImportRedirect(const TImportRedirect&) = delete;
    TImportRedirect& operator=(const TImportRedirect&) = delete;
    // The system's own function, for the replacement to call.
    template <typename TFunction>
    TFunction* System() const
    {
        return reinterpret_cast<TFunction*>(FSystem);
    }

private:
    void** FSlot;
    void* FSystem;
};

// For the object's lifetime, the first unique temporary name that this program asks
// the system for (GetTempFileNameA with the unique number 0) takes Number instead of
// the number the system draws from its clock: the system forms the name with it, and
// the file is created empty, as the system does. It makes a collision with a given
// name certain. Later names are the system's own.
class TFixedUniqueNumber : public TImportRedirect {
public:
    explicit TFixedUniqueNumber(unsigned Number);
};

// For the object's lifetime, the system gives this program's own path as Path: cut
// when it is longer than the buffer asked with, as the system cuts it, and not at all
// when Path is empty.
class TProgramPath : public TImportRedirect {
public:
    explicit TProgramPath(std::string Path);
};

// For the object's lifetime, the shell fails every request of this program's
// (ShellExecuteExA) with Result as its answer and Error as the thread's error, lost
// (ERROR_SUCCESS) unless set, as a real one may; it notes the request's flags, the
// window the request named and whether that window took input.
class TFailingShell : public TImportRedirect {
public:
    TFailingShell();
    static inline INT_PTR Result = 0;
    static inline DWORD Error = ERROR_SUCCESS;
    static inline ULONG Mask = 0;
    static inline HWND Owner = nullptr;
    static inline BOOL OwnerEnabled = TRUE;
};

// The shell's answers to a failed start whose error it lost, each with the reason the
// warning gives after the copy's name: the system's text where the answer names one.
struct TLostReason {
    INT_PTR Result;
    std::string Reason;
};
std::vector<TLostReason> LostReasons();

// GetPrivateProfileSectionA as a service could answer that keeps each line of the
// section as it stands in the file, blanks and tabs and all (comments left out); for
// a TImportRedirect.
DWORD WINAPI GetSectionKeepingBlanks(LPCSTR Section, LPSTR Buffer, DWORD Size, LPCSTR FileName);

// Stands in for the main window in a launch: its inputs, and what the launch asked of it.
struct TRunHost final : IZoneRunHost {
    TRunHost(std::string TutorialText, std::string OffsetText, std::optional<std::string> SelectedName)
        : Tutorial(std::move(TutorialText)), Offset(std::move(OffsetText)), Selected(std::move(SelectedName))
    {
    }
    std::string Tutorial, Offset;
    std::optional<std::string> Selected;
    std::vector<std::string> Requests;

    std::string GetTutorialText() const override { return Tutorial; }
    std::string GetOffsetText() const override { return Offset; }
    std::optional<std::string> GetSelectedInternalName() const override { return Selected; }
    void FocusTutorial() override { Requests.push_back("focus tutorial"); }
    void FocusOffset() override { Requests.push_back("focus offset"); }
    void FocusZones() override { Requests.push_back("focus zones"); }
    void Close() override { Requests.push_back("close"); }
};

} // namespace tol::test
