#include "Files.h"

#include "Owners.h"
#include "Paths.h"

#include <algorithm>
#include <stdexcept>

namespace tol::test {

namespace {

std::string Convert(UINT CodePage, const std::wstring& Text)
{
    std::string Narrowed(Text.size() * 4, '\0');
    Narrowed.resize(static_cast<std::size_t>(WideCharToMultiByte(CodePage, 0, Text.data(),
                                                                 static_cast<int>(Text.size()), Narrowed.data(),
                                                                 static_cast<int>(Narrowed.size()), nullptr, nullptr)));
    return Narrowed;
}

// Back to the program's code page, as the ANSI calls give a name.
std::string Narrow(const std::wstring& Text) { return Convert(CP_ACP, Text); }

// A file or folder found below a folder: its path below it, and its attributes.
struct TFound {
    std::wstring Below;
    DWORD Attributes;
    bool Folder() const noexcept { return (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// What Folder (a path ending in "\") holds; with Deep, at any depth, each folder before
// what it holds. Only one folder is open for reading at a time, however deep the tree.
std::vector<TFound> Walk(const std::wstring& Folder, bool Deep)
{
    std::vector<TFound> Found;
    std::vector<std::wstring> Folders{L""};
    WIN32_FIND_DATAW Data;
    while (!Folders.empty()) {
        const std::wstring Below = Folders.back();
        Folders.pop_back();
        const TFindHandle Find(FindFirstFileW(Verbatim(Folder + Below + L"*").c_str(), &Data));
        if (!Find)
            continue;
        do {
            const std::wstring Name = Data.cFileName;
            if (Name == L"." || Name == L"..")
                continue;
            Found.push_back({Below + Name, Data.dwFileAttributes});
            if (Deep && Found.back().Folder())
                Folders.push_back(Below + Name + L"\\");
        } while (FindNextFileW(Find.Get(), &Data));
    }
    return Found;
}

bool IsCopyName(const std::wstring& Name)
{
    // Only ASCII names: a name the ANSI calls would read as a copy's is not one.
    const bool Ascii = std::all_of(Name.begin(), Name.end(), [](wchar_t C) { return C > 0 && C < 0x80; });
    return Ascii && IsLauncherCopyName(Narrow(Name));
}

// The names directly in Folder that Keep keeps, sorted.
template <typename TKeep>
std::vector<std::string> NamesIn(const std::string& Folder, TKeep Keep)
{
    std::vector<std::string> Names;
    for (const auto& Found : Walk(Widen(Folder), false))
        if (Keep(Found))
            Names.push_back(Narrow(Found.Below));
    std::sort(Names.begin(), Names.end());
    return Names;
}

} // namespace

std::wstring Widen(const std::string& Text)
{
    std::wstring Wide(Text.size(), L'\0');
    Wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()),
                                                             Wide.data(), static_cast<int>(Wide.size()))));
    return Wide;
}

std::string Utf8(const std::wstring& Text) { return Convert(CP_UTF8, Text); }

std::wstring Verbatim(const std::wstring& Path)
{
    const bool FromADrive = Path.size() > 2 && Path[1] == L':' && Path[2] == L'\\';
    return FromADrive ? L"\\\\?\\" + Path : Path;
}

std::wstring Verbatim(const std::string& Path) { return Verbatim(Widen(Path)); }

TTestFolder::TTestFolder(const std::string& Name)
{
    // Made under the temporary folder of the process's start, so that a test that
    // points TMP elsewhere keeps its folders.
    static const std::string Root = [] {
        char Buffer[MAX_PATH + 1];
        const DWORD Length = GetTempPathA(sizeof Buffer, Buffer);
        if (Length == 0 || Length >= sizeof Buffer)
            throw std::runtime_error("no temporary folder");
        return std::string(Buffer, Length);
    }();
    static int Counter = 0;
    for (;;) {
        FPath = Root + "tolvane-" + Name + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++Counter)
                + "\\";
        if (CreateDirectoryA(FPath.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + FPath);
    }
}

TTestFolder::~TTestFolder() { RemoveTree(FPath); }

void RemoveTree(const std::string& Folder)
{
    const std::wstring Root = Widen(Folder);
    // Each folder comes after the folder that holds it: removed in reverse, every folder
    // is empty by the time it is removed.
    std::vector<std::wstring> Folders{Root};
    for (const auto& Found : Walk(Root, true)) {
        const std::wstring Path = Verbatim(Root + Found.Below);
        SetFileAttributesW(Path.c_str(), Found.Folder() ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL);
        if (Found.Folder())
            Folders.push_back(Path + L"\\");
        else
            DeleteFileW(Path.c_str());
    }
    for (auto It = Folders.rbegin(); It != Folders.rend(); ++It)
        RemoveDirectoryW(Verbatim(*It).c_str());
}

void WriteBytes(const std::wstring& FileName, const std::string& Bytes)
{
    const TFileHandle File(CreateFileW(Verbatim(FileName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!File)
        throw std::runtime_error("cannot create " + Utf8(FileName));
    DWORD Written = 0;
    if (!WriteFile(File.Get(), Bytes.data(), static_cast<DWORD>(Bytes.size()), &Written, nullptr)
        || Written != Bytes.size())
        throw std::runtime_error("cannot write " + Utf8(FileName));
}

void WriteBytes(const std::string& FileName, const std::string& Bytes) { WriteBytes(Widen(FileName), Bytes); }

std::string ReadBytes(const std::wstring& FileName)
{
    const TFileHandle File(CreateFileW(Verbatim(FileName).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
    if (!File)
        throw std::runtime_error("cannot read " + Utf8(FileName) + ": error " + std::to_string(GetLastError()));
    std::string Bytes;
    char Buffer[65536];
    DWORD Read = 0;
    while (ReadFile(File.Get(), Buffer, sizeof Buffer, &Read, nullptr) && Read > 0)
        Bytes.append(Buffer, Read);
    return Bytes;
}

std::string ReadBytes(const std::string& FileName) { return ReadBytes(Widen(FileName)); }

bool Exists(const std::wstring& Path) { return GetFileAttributesW(Verbatim(Path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool Exists(const std::string& Path) { return Exists(Widen(Path)); }

std::vector<std::string> ListFolder(const std::string& Folder)
{
    return NamesIn(Folder, [](const TFound&) { return true; });
}

std::vector<std::string> Copies(const std::string& Folder)
{
    return NamesIn(Folder, [](const TFound& Found) { return !Found.Folder() && IsCopyName(Found.Below); });
}

std::string MakeFolderOfLength(const std::string& Base, std::size_t Length)
{
    if (Length < Base.size() + 2)
        throw std::runtime_error("the base folder is longer than the wanted path");
    std::string Folder = Base;
    // Each step adds a name and its "\"; the last step takes what is left, and no step
    // leaves a remainder too short for a name of its own.
    for (;;) {
        if (!CreateDirectoryW(Verbatim(Folder).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a folder of " + std::to_string(Folder.size()) + " characters");
        if (Folder.size() >= Length)
            break;
        const std::size_t Left = Length - Folder.size();
        Folder += std::string((Left <= 60 ? Left : std::min<std::size_t>(50, Left - 10)) - 1, 'd') + "\\";
    }
    return Folder;
}

std::string WinePath(const std::string& UnixPath)
{
    std::string Path = "Z:" + UnixPath;
    std::replace(Path.begin(), Path.end(), '/', '\\');
    return Path;
}

TDiskSnapshot::TEntries TDiskSnapshot::Record(const std::wstring& Root, bool WithBytes)
{
    TEntries Entries;
    for (const auto& Found : Walk(Root, true))
        Entries[Found.Below] = {Found.Folder(), WithBytes && !Found.Folder() ? ReadBytes(Root + Found.Below) : ""};
    return Entries;
}

TDiskSnapshot::TDiskSnapshot(const std::vector<std::string>& Folders, const std::vector<std::string>& Files)
{
    for (const auto& Folder : Folders) {
        TRoot& Root = FRoots.emplace_back(TRoot{Widen(Folder), true, {}, {L""}});
        Root.Entries = Record(Root.Path, true);
    }
    for (const auto& File : Files)
        FRoots.push_back(TRoot{Widen(File), false, {{L"", {false, ReadBytes(Widen(File))}}}, {}});
}

void TDiskSnapshot::AllowCopiesIn(const std::string& Folder)
{
    const std::wstring Wide = Widen(Folder);
    for (auto& Root : FRoots)
        if (Root.Folder && Wide.rfind(Root.Path, 0) == 0) {
            Root.CopyFolders.push_back(Wide.substr(Root.Path.size()));
            return;
        }
    throw std::runtime_error("not below a recorded folder: " + Folder);
}

bool TDiskSnapshot::TRoot::IsCopy(const std::wstring& Below, const TEntry& Entry) const
{
    const std::wstring Parent = Below.substr(0, Below.find_last_of(L'\\') + 1);
    return !Entry.Folder && IsCopyName(Below.substr(Parent.size()))
           && std::find(CopyFolders.begin(), CopyFolders.end(), Parent) != CopyFolders.end();
}

std::vector<std::string> TDiskSnapshot::Differences(const std::vector<std::string>& ByProducts) const
{
    std::vector<std::string> Found;
    const auto IsByProduct = [&](const std::wstring& Below) {
        const std::string Name = Utf8(Below.substr(Below.find_last_of(L'\\') + 1));
        return std::find(ByProducts.begin(), ByProducts.end(), Name) != ByProducts.end();
    };
    const auto Compare = [&](const std::wstring& Path, const std::string& Before) {
        if (const std::string Now = ReadBytes(Path); Now != Before)
            Found.push_back("changed: " + Utf8(Path) + " (" + std::to_string(Now.size()) + " bytes, was "
                            + std::to_string(Before.size()) + " bytes)");
    };
    for (const auto& Root : FRoots) {
        if (!Exists(Root.Path)) {
            Found.push_back((Root.Folder ? "lost: the folder " : "lost: ") + Utf8(Root.Path));
            continue;
        }
        if (!Root.Folder) {
            Compare(Root.Path, Root.Entries.at(L"").Bytes);
            continue;
        }
        // Names only, so that a new copy of the launcher's is never read.
        const TEntries Now = Record(Root.Path, false);
        for (const auto& [Below, Before] : Root.Entries) {
            const auto It = Now.find(Below);
            if (IsByProduct(Below))
                continue;
            if (It == Now.end()) {
                if (!Root.IsCopy(Below, Before))
                    Found.push_back("lost: " + Utf8(Root.Path + Below));
            } else if (It->second.Folder != Before.Folder) {
                Found.push_back("changed from file to folder or back: " + Utf8(Root.Path + Below));
            } else if (!Before.Folder) {
                Compare(Root.Path + Below, Before.Bytes);
            }
        }
        for (const auto& [Below, Entry] : Now)
            if (!Root.Entries.count(Below) && !Root.IsCopy(Below, Entry) && !IsByProduct(Below))
                Found.push_back("new, and not a copy of the launcher's where it keeps them: "
                                + Utf8(Root.Path + Below));
    }
    return Found;
}

} // namespace tol::test
