#include "FaultSupport.h"

#include "Paths.h"
#include "ProgramSupport.h"
#include "TestSupport.h"

#include <algorithm>
#include <stdexcept>

namespace tol::test {

std::wstring Widen(const std::string& Text)
{
    if (Text.empty())
        return {};
    std::wstring Wide(Text.size(), L'\0');
    Wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), Wide.data(), static_cast<int>(Wide.size()))));
    return Wide;
}

std::string Utf8(const std::wstring& Text)
{
    if (Text.empty())
        return {};
    std::string Narrow(Text.size() * 4, '\0');
    Narrow.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()),
                                                               Narrow.data(), static_cast<int>(Narrow.size()), nullptr, nullptr)));
    return Narrow;
}

std::wstring Verbatim(const std::wstring& Path)
{
    return Path.rfind(L"\\\\?\\", 0) == 0 ? Path : L"\\\\?\\" + Path;
}

std::wstring Verbatim(const std::string& Path) { return Verbatim(Widen(Path)); }

bool IsCopyName(const std::wstring& Name)
{
    std::string Ascii;
    for (wchar_t C : Name) {
        if (C == 0 || C > 0x7F)
            return false;
        Ascii += static_cast<char>(C);
    }
    return IsLauncherCopyName(Ascii);
}

std::string ReadBytesVerbatim(const std::wstring& FileName)
{
    const HANDLE File = CreateFileW(Verbatim(FileName).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot read " + Utf8(FileName) + ": error " + std::to_string(GetLastError()));
    // Held whole in a 32-bit process: a file this large in a record is a mistake of the test's.
    LARGE_INTEGER Size{};
    if (!GetFileSizeEx(File, &Size) || Size.QuadPart > 64 * 1024 * 1024) {
        CloseHandle(File);
        throw std::runtime_error("too large to record: " + Utf8(FileName));
    }
    return ReadAndClose(File);
}

bool ExistsVerbatim(const std::wstring& Path)
{
    return GetFileAttributesW(Verbatim(Path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

std::string Describe(const std::string& Bytes)
{
    return std::to_string(Bytes.size()) + " bytes";
}

// Calls Visit(Below, Data) for every file and folder below Root (a path ending in "\"),
// Below being its path below Root; a folder is visited before what it holds. Only one
// folder is open for reading at a time, however deep the tree.
template <typename TVisit>
void VisitBelow(const std::wstring& Root, TVisit Visit)
{
    WIN32_FIND_DATAW Data;
    std::vector<std::wstring> Folders{L""};
    while (!Folders.empty()) {
        const std::wstring Below = Folders.back();
        Folders.pop_back();
        const HANDLE Find = FindFirstFileW(Verbatim(Root + Below + L"*").c_str(), &Data);
        if (Find == INVALID_HANDLE_VALUE)
            continue;
        do {
            const std::wstring Name = Data.cFileName;
            if (Name == L"." || Name == L"..")
                continue;
            Visit(Below + Name, Data);
            if (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                Folders.push_back(Below + Name + L"\\");
        } while (FindNextFileW(Find, &Data));
        FindClose(Find);
    }
}

} // namespace

TDiskSnapshot::TEntries TDiskSnapshot::Walk(const std::wstring& Root, bool WithBytes)
{
    TEntries Entries;
    VisitBelow(Root, [&](const std::wstring& Below, const WIN32_FIND_DATAW& Data) {
        TEntry Entry;
        Entry.Folder = (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (WithBytes && !Entry.Folder)
            Entry.Bytes = ReadBytesVerbatim(Root + Below);
        Entries[Below] = Entry;
    });
    return Entries;
}

void TDiskSnapshot::AddFolder(const std::string& Folder)
{
    TRoot Root;
    Root.Path = Widen(Folder);
    Root.Folder = true;
    Root.CopyFolders.push_back(L"");
    Root.Entries = Walk(Root.Path, true);
    FRoots.push_back(std::move(Root));
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
    const auto Slash = Below.find_last_of(L'\\');
    const std::wstring Parent = Slash == std::wstring::npos ? L"" : Below.substr(0, Slash + 1);
    const std::wstring Name = Slash == std::wstring::npos ? Below : Below.substr(Slash + 1);
    return !Entry.Folder && IsCopyName(Name)
           && std::find(CopyFolders.begin(), CopyFolders.end(), Parent) != CopyFolders.end();
}

void TDiskSnapshot::AddFile(const std::string& FileName)
{
    TRoot Root;
    Root.Path = Widen(FileName);
    Root.Entries[L""].Bytes = ReadBytesVerbatim(Root.Path);
    FRoots.push_back(std::move(Root));
}

std::vector<std::string> TDiskSnapshot::Differences(const std::vector<std::string>& ByProducts) const
{
    std::vector<std::string> Found;
    const auto IsByProduct = [&](const std::wstring& Below) {
        const std::string Name = Utf8(Below.substr(Below.find_last_of(L'\\') + 1));
        return std::find(ByProducts.begin(), ByProducts.end(), Name) != ByProducts.end();
    };
    for (const auto& Root : FRoots) {
        if (!Root.Folder) {
            const TEntry& Before = Root.Entries.at(L"");
            if (!ExistsVerbatim(Root.Path))
                Found.push_back("lost: " + Utf8(Root.Path));
            else if (const std::string Now = ReadBytesVerbatim(Root.Path); Now != Before.Bytes)
                Found.push_back("changed: " + Utf8(Root.Path) + " (" + Describe(Now) + ", was " + Describe(Before.Bytes) + ")");
            continue;
        }
        if (!ExistsVerbatim(Root.Path)) {
            Found.push_back("lost: the folder " + Utf8(Root.Path));
            continue;
        }
        // Names only, so that a new copy of the launcher's is never read.
        const TEntries Now = Walk(Root.Path, false);
        for (const auto& [Below, Before] : Root.Entries) {
            if (IsByProduct(Below))
                continue;
            const auto It = Now.find(Below);
            const std::string Where = Utf8(Root.Path + Below);
            if (It == Now.end()) {
                if (!Root.IsCopy(Below, Before))
                    Found.push_back("lost: " + Where);
            } else if (It->second.Folder != Before.Folder) {
                Found.push_back("changed from file to folder or back: " + Where);
            } else if (!Before.Folder) {
                const std::string Bytes = ReadBytesVerbatim(Root.Path + Below);
                if (Bytes != Before.Bytes)
                    Found.push_back("changed: " + Where + " (" + Describe(Bytes) + ", was " + Describe(Before.Bytes) + ")");
            }
        }
        for (const auto& [Below, Entry] : Now)
            if (!Root.Entries.count(Below) && !Root.IsCopy(Below, Entry) && !IsByProduct(Below))
                Found.push_back("new, and not a copy of the launcher's where it keeps them: " + Utf8(Root.Path + Below));
    }
    return Found;
}

::testing::AssertionResult NothingLost(const TDiskSnapshot& Snapshot, const std::vector<std::string>& ByProducts)
{
    const auto Found = Snapshot.Differences(ByProducts);
    if (Found.empty())
        return ::testing::AssertionSuccess();
    auto Failure = ::testing::AssertionFailure();
    for (const auto& Line : Found)
        Failure << "\n  " << Line;
    return Failure;
}

void RemoveTreeVerbatim(const std::string& Folder)
{
    const std::wstring Root = Widen(Folder);
    // Each folder comes after the folder that holds it: removed in reverse, every folder
    // is empty by the time it is removed.
    std::vector<std::wstring> Folders{Root};
    VisitBelow(Root, [&](const std::wstring& Below, const WIN32_FIND_DATAW& Data) {
        const std::wstring Path = Root + Below;
        SetFileAttributesW(Verbatim(Path).c_str(), Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY
                                                        ? FILE_ATTRIBUTE_DIRECTORY
                                                        : FILE_ATTRIBUTE_NORMAL);
        if (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Folders.push_back(Path + L"\\");
        else
            DeleteFileW(Verbatim(Path).c_str());
    });
    for (auto It = Folders.rbegin(); It != Folders.rend(); ++It)
        RemoveDirectoryW(Verbatim(*It).c_str());
}

void WriteBytesVerbatim(const std::wstring& FileName, const std::string& Bytes)
{
    const HANDLE File = CreateFileW(Verbatim(FileName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + Utf8(FileName));
    DWORD Written = 0;
    const BOOL Done = WriteFile(File, Bytes.data(), static_cast<DWORD>(Bytes.size()), &Written, nullptr);
    CloseHandle(File);
    if (!Done || Written != Bytes.size())
        throw std::runtime_error("cannot write " + Utf8(FileName));
}

std::string MakeFolderOfLength(const std::string& Base, std::size_t Length)
{
    if (Length < Base.size() + 2)
        throw std::runtime_error("the base folder is longer than the wanted path");
    std::string Folder = Base;
    if (!CreateDirectoryW(Verbatim(Folder).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create " + Folder);
    while (Folder.size() < Length) {
        // Each step adds a name and its "\"; the last step takes what is left, and no
        // step leaves a remainder too short for a name of its own.
        std::size_t Left = Length - Folder.size();
        std::size_t Step = Left <= 60 ? Left : std::min<std::size_t>(50, Left - 10);
        Folder += std::string(Step - 1, 'd') + "\\";
        if (!CreateDirectoryW(Verbatim(Folder).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a folder of " + std::to_string(Folder.size()) + " characters");
    }
    return Folder;
}

namespace {

std::string LockerFileName() { return WinePath(TOLVANE_FAULT_LOCKER_EXE); }

HANDLE NewEvent(const std::string& Name)
{
    const HANDLE Event = CreateEventA(nullptr, TRUE, FALSE, Name.c_str());
    if (!Event)
        throw std::runtime_error("cannot create the event " + Name);
    return Event;
}

} // namespace

THeldFile::THeldFile(const std::string& FileName)
{
    static int Counter = 0;
    const std::string Name = "TolvaneFaultLocker-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++Counter);
    FReady = NewEvent(Name + "-ready");
    FRelease = NewEvent(Name + "-release");
    STARTUPINFOA Startup{};
    Startup.cb = sizeof Startup;
    std::string CommandLine = "\"" + LockerFileName() + "\" \"" + FileName + "\" " + Name + "-ready " + Name + "-release";
    if (!CreateProcessA(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &FInfo))
        throw std::runtime_error("cannot start " + LockerFileName());
    const HANDLE Waits[] = {FReady, FInfo.hProcess};
    if (WaitForMultipleObjects(2, Waits, FALSE, 30000) != WAIT_OBJECT_0) {
        Release();
        throw std::runtime_error("the locker did not take hold of " + FileName);
    }
}

void THeldFile::Release()
{
    if (!FRelease)
        return;
    SetEvent(FRelease);
    WaitForSingleObject(FInfo.hProcess, 30000);
    CloseHandle(FInfo.hProcess);
    CloseHandle(FInfo.hThread);
    CloseHandle(FReady);
    CloseHandle(FRelease);
    FRelease = FReady = nullptr;
}

THeldFile::~THeldFile() { Release(); }

namespace {

struct TWindowOf {
    DWORD ProcessId;
    bool Found;
};

BOOL CALLBACK FindStandInWindow(HWND Window, LPARAM Param)
{
    auto& Query = *reinterpret_cast<TWindowOf*>(Param);
    DWORD Id = 0;
    GetWindowThreadProcessId(Window, &Id);
    char Class[64] = {};
    GetClassNameA(Window, Class, sizeof Class);
    if (Id == Query.ProcessId && lstrcmpA(Class, "TolvaneStandInTutorial") == 0 && IsWindowVisible(Window)) {
        Query.Found = true;
        return FALSE;
    }
    return TRUE;
}

} // namespace

namespace {

struct TStandInsIn {
    std::wstring Folder;
    std::vector<std::pair<HWND, DWORD>> Found;
};

BOOL CALLBACK FindStandInsIn(HWND Window, LPARAM Param)
{
    auto& Query = *reinterpret_cast<TStandInsIn*>(Param);
    char Class[64] = {};
    GetClassNameA(Window, Class, sizeof Class);
    if (lstrcmpA(Class, "TolvaneStandInTutorial") != 0)
        return TRUE;
    DWORD Id = 0;
    GetWindowThreadProcessId(Window, &Id);
    const HANDLE Process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, Id);
    if (!Process)
        return TRUE;
    wchar_t Image[4096] = {};
    DWORD Size = 4096;
    if (QueryFullProcessImageNameW(Process, 0, Image, &Size)
        && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, Image, static_cast<int>(std::min<std::size_t>(Size, Query.Folder.size())),
                          Query.Folder.c_str(), static_cast<int>(Query.Folder.size())) == CSTR_EQUAL)
        Query.Found.emplace_back(Window, Id);
    CloseHandle(Process);
    return TRUE;
}

} // namespace

bool CloseStandInsStartedIn(const std::string& Folder)
{
    TStandInsIn Query{Widen(Folder), {}};
    for (int Attempt = 0; Attempt < 1500 && Query.Found.empty(); ++Attempt) {
        EnumWindows(FindStandInsIn, reinterpret_cast<LPARAM>(&Query));
        if (Query.Found.empty())
            Sleep(20);
    }
    for (const auto& [Window, Id] : Query.Found) {
        const HANDLE Process = OpenProcess(SYNCHRONIZE, FALSE, Id);
        PostMessageA(Window, WM_CLOSE, 0, 0);
        if (Process) {
            WaitForSingleObject(Process, 20000);
            CloseHandle(Process);
        }
    }
    return !Query.Found.empty();
}

TRunningCopy::TRunningCopy(const std::string& FileName)
{
    const std::string Folder = FileName.substr(0, FileName.find_last_of('\\') + 1);
    WriteBytes(FileName, ReadBytes(StandInFileName()));
    WriteBytes(Folder + "StandInExit.txt", "600000");
    FInfo = StartProcess(FileName, Folder);
    // Its window shows once it has read how long to stay.
    TWindowOf Query{FInfo.dwProcessId, false};
    for (int I = 0; I < 1000 && !Query.Found && WaitForSingleObject(FInfo.hProcess, 20) == WAIT_TIMEOUT; ++I)
        EnumWindows(FindStandInWindow, reinterpret_cast<LPARAM>(&Query));
    WriteBytes(Folder + "StandInExit.txt", "0");
    if (!Query.Found) {
        End();
        throw std::runtime_error("the running copy did not show its window");
    }
}

bool TRunningCopy::Running() const { return FInfo.hProcess && WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT; }

void TRunningCopy::End()
{
    if (!FInfo.hProcess)
        return;
    TerminateProcess(FInfo.hProcess, 0);
    WaitForSingleObject(FInfo.hProcess, 10000);
    CloseHandle(FInfo.hProcess);
    CloseHandle(FInfo.hThread);
    FInfo = {};
}

TRunningCopy::~TRunningCopy() { End(); }

} // namespace tol::test
