// Real files in folders of their own, for the tests and the benchmarks alike. A path
// from a drive is taken through the wide calls with the "\\?\" prefix, so that names
// the ANSI calls would alter (a trailing blank, a character outside the code page) and
// paths longer than MAX_PATH are read, written, walked and removed exactly as they are.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace tol::test {

// Wide text from the program's code page, and UTF-8 for the tests' own messages.
std::wstring Widen(const std::string& Text);
std::string Utf8(const std::wstring& Text);
// A path from a drive ("C:\...") with the "\\?\" prefix, taken as it is, whatever its
// length or ending; any other path (relative, or prefixed already) unchanged.
std::wstring Verbatim(const std::string& Path);
std::wstring Verbatim(const std::wstring& Path);

// A new, empty folder in the temporary folder, removed with its content at the end.
class TTestFolder {
public:
    explicit TTestFolder(const std::string& Name = "t");
    ~TTestFolder();
    TTestFolder(const TTestFolder&) = delete;
    TTestFolder& operator=(const TTestFolder&) = delete;
    // Ends in "\".
    const std::string& Path() const noexcept { return FPath; }
    std::string operator/(const std::string& Name) const { return FPath + Name; }

private:
    std::string FPath;
};

// Removes a folder (ending in "\") with everything in it, read-only files too.
void RemoveTree(const std::string& Folder);

// Raise std::runtime_error on failure. Reading shares the file with whatever else holds
// it (a program that has just renamed it into place still has it open for deletion).
void WriteBytes(const std::string& FileName, const std::string& Bytes);
void WriteBytes(const std::wstring& FileName, const std::string& Bytes);
std::string ReadBytes(const std::string& FileName);
std::string ReadBytes(const std::wstring& FileName);
bool Exists(const std::string& Path);
bool Exists(const std::wstring& Path);

// The names in a folder, sorted.
std::vector<std::string> ListFolder(const std::string& Folder);
// The launcher's copies directly in Folder, by the program's own rule for their names, sorted.
std::vector<std::string> Copies(const std::string& Folder);

// A folder path of exactly Length characters (ending in "\") inside Base, made as a
// chain of folders; each step is within the file system's limit on one name.
std::string MakeFolderOfLength(const std::string& Base, std::size_t Length);

// A build product's Unix path as Wine sees it.
std::string WinePath(const std::string& UnixPath);

// The files and folders as they were, by name and bytes, to compare with later.
class TDiskSnapshot {
public:
    TDiskSnapshot() = default;
    // Every file and folder under each of Folders (paths ending in "\"), at any depth,
    // and each of Files, as they are now. Each folder is one where the launcher keeps
    // copies (the tutorial's or the temporary folder).
    TDiskSnapshot(const std::vector<std::string>& Folders, const std::vector<std::string>& Files);
    // Another folder of copies below a recorded folder: a tutorial deeper down.
    void AllowCopiesIn(const std::string& Folder);

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
    static TEntries Record(const std::wstring& Root, bool WithBytes);
    std::vector<TRoot> FRoots;
};

} // namespace tol::test
