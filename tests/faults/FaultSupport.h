// What the fault tests share: a record of the files a fault must not touch and its
// comparison afterwards, a second program that holds a file open without sharing, a
// fixed unique number for the system's temporary names, and folders deep enough for
// paths of any length.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace tol::test {

// Wide text from the program's code page, and UTF-8 for the tests' own messages.
std::wstring Widen(const std::string& Text);
std::string Utf8(const std::wstring& Text);
// A full path with the "\\?\" prefix: taken as it is, whatever its length or ending.
std::wstring Verbatim(const std::string& Path);
std::wstring Verbatim(const std::wstring& Path);

// True for a name the launcher gives its copies, as the clean-up reads it.
bool IsCopyName(const std::wstring& Name);

// The files and folders as they were, by name and bytes, to compare with later. Read
// through the wide calls with the "\\?\" prefix, so that names the ANSI calls would
// alter (a trailing blank, a character outside the code page) and paths longer than
// MAX_PATH are recorded exactly.
class TDiskSnapshot {
public:
    // Every file and folder under Folder (a path ending in "\"), at any depth. Folder
    // is one where the launcher keeps copies (the tutorial's or the temporary folder).
    void AddFolder(const std::string& Folder);
    // Another folder of copies below a recorded folder: a tutorial deeper down.
    void AllowCopiesIn(const std::string& Folder);
    void AddFile(const std::string& FileName);

    // What is missing or changed now: every recorded file must be there with the same
    // bytes, every recorded folder must be there. A launcher copy directly in a folder
    // of copies may be gone (the clean-up's to delete), but if it is still there its
    // bytes are unchanged. New names are allowed only for the launcher's copies
    // directly in a folder of copies and for ByProducts, file names of what a started
    // copy writes (these are not compared either).
    std::vector<std::string> Differences(const std::vector<std::string>& ByProducts = {}) const;

private:
    struct TEntry {
        bool Folder = false;
        std::string Bytes;
    };
    using TEntries = std::map<std::wstring, TEntry>; // by path below the root
    struct TRoot {
        std::wstring Path;
        bool Folder = false;
        TEntries Entries;
        std::vector<std::wstring> CopyFolders; // below Path, each empty or ending in "\"
        bool IsCopy(const std::wstring& Below, const TEntry& Entry) const;
    };
    // Every file and folder below Root (a path ending in "\"), at any depth; with
    // WithBytes, each file's bytes as well.
    static TEntries Walk(const std::wstring& Root, bool WithBytes);
    std::vector<TRoot> FRoots;
};

// For EXPECT_TRUE: a snapshot with no differences.
::testing::AssertionResult NothingLost(const TDiskSnapshot& Snapshot, const std::vector<std::string>& ByProducts = {});

// Removes a folder (ending in "\") with everything in it through the wide calls: names
// with trailing blanks or from outside the code page, read-only files, deep paths.
void RemoveTreeVerbatim(const std::string& Folder);

// Files through the wide calls, whatever their names or the length of their paths.
void WriteBytesVerbatim(const std::wstring& FileName, const std::string& Bytes);
std::string ReadBytesVerbatim(const std::wstring& FileName);
bool ExistsVerbatim(const std::wstring& Path);

// A folder path of exactly Length characters (ending in "\") inside Base, made as a
// chain of folders; each step is within the file system's limit on one name.
std::string MakeFolderOfLength(const std::string& Base, std::size_t Length);

// Closes the stand-in copies started from Folder, once their windows show, and waits
// until they have ended; false when none showed in time. A stand-in in a folder whose
// path is too long for the ANSI calls cannot read its "StandInExit.txt" and stays.
bool CloseStandInsStartedIn(const std::string& Folder);

// A second program (FaultLocker.exe) that holds a file open for reading without
// sharing it, as another program of the player's might, until the object ends.
class THeldFile {
public:
    explicit THeldFile(const std::string& FileName);
    ~THeldFile();
    THeldFile(const THeldFile&) = delete;
    THeldFile& operator=(const THeldFile&) = delete;
    void Release();

private:
    HANDLE FReady = nullptr, FRelease = nullptr;
    PROCESS_INFORMATION FInfo{};
};

// A running copy of the stand-in tutorial program under FileName that stays until the
// object ends; the stand-in reads how long to stay from the file beside it, which is
// set to "at once" again when it has read it, for the copies started after it.
class TRunningCopy {
public:
    explicit TRunningCopy(const std::string& FileName);
    ~TRunningCopy();
    TRunningCopy(const TRunningCopy&) = delete;
    TRunningCopy& operator=(const TRunningCopy&) = delete;
    bool Running() const;
    // Ends it and waits until the system has let go of its file.
    void End();

private:
    PROCESS_INFORMATION FInfo{};
};

} // namespace tol::test
