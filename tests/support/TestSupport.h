// What the Windows tests share: folders of their own, real files, an observer of the
// launcher's message boxes, and a closer for boxes the system shows by itself.
#pragma once

#include "LaunchImp.h"
#include "Messages.h"
#include "ScratchFiles.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tol::test {

// Sets a file's last-write time to the first of January of Year.
void SetFileYear(const std::string& FileName, int Year);
// Waits until a file exists; false after the timeout.
bool WaitForFile(const std::string& FileName, std::chrono::milliseconds Timeout);

// The stand-in tutorial program and the offset of its zone-name field.
std::string StandInFileName();
long StandInOffset();
// The zone and folder a started stand-in reported in Folder; empty when none did.
struct TStandInReport {
    std::string Zone, WorkingFolder;
};
TStandInReport ReadStandInReport(const std::string& Folder);

// Sets an environment variable for the test's duration.
class TScopedEnvironment {
public:
    TScopedEnvironment(std::string Name, const std::string& Value);
    ~TScopedEnvironment();

private:
    std::string FName, FOld;
    bool FHadOld;
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

// Closes, from a thread of its own, every dialog box the system shows in this
// process (such as the shell's own error box) and keeps their texts.
class TDialogCloser {
public:
    TDialogCloser();
    ~TDialogCloser();
    std::vector<std::string> Texts();

private:
    void Run();
    std::atomic<bool> FStop{false};
    std::mutex FLock;
    std::vector<std::string> FTexts;
    std::thread FThread;
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
class TFixedUniqueNumber {
public:
    explicit TFixedUniqueNumber(unsigned Number);

private:
    TImportRedirect FRedirect;
};

// For the object's lifetime, the system gives this program's own path as Path: cut
// when it is longer than the buffer asked with, as the system cuts it, and not at all
// when Path is empty.
class TProgramPath {
public:
    explicit TProgramPath(std::string Path);

private:
    TImportRedirect FRedirect;
};

// GetPrivateProfileSectionA as a service could answer that keeps each line of the
// section as it stands in the file, blanks and tabs and all (comments left out); for
// a TImportRedirect.
DWORD WINAPI GetSectionKeepingBlanks(LPCSTR Section, LPSTR Buffer, DWORD Size, LPCSTR FileName);

// Stands in for the main window in a launch: its inputs, and what the launch asked of it.
struct TRunHost final : IZoneRunHost {
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
