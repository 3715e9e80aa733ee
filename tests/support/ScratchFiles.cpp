#include "ScratchFiles.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace tol::test {

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
        FPath = Root + "tolvane-" + Name + "-" + std::to_string(GetCurrentProcessId()) + "-"
                + std::to_string(++Counter) + "\\";
        if (CreateDirectoryA(FPath.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + FPath);
    }
}

TTestFolder::~TTestFolder() { RemoveTree(FPath); }

void RemoveTree(const std::string& Folder)
{
    WIN32_FIND_DATAA Data;
    const HANDLE Find = FindFirstFileA((Folder + "*").c_str(), &Data);
    if (Find != INVALID_HANDLE_VALUE) {
        do {
            const std::string Name = Data.cFileName;
            if (Name == "." || Name == "..")
                continue;
            const std::string Path = Folder + Name;
            if (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(Path + "\\");
            } else {
                SetFileAttributesA(Path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(Path.c_str());
            }
        } while (FindNextFileA(Find, &Data));
        FindClose(Find);
    }
    RemoveDirectoryA(Folder.c_str());
}

void WriteBytes(const std::string& FileName, const std::string& Bytes)
{
    const HANDLE File = CreateFileA(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + FileName);
    DWORD Written = 0;
    const BOOL Done = WriteFile(File, Bytes.data(), static_cast<DWORD>(Bytes.size()), &Written, nullptr);
    CloseHandle(File);
    if (!Done || Written != Bytes.size())
        throw std::runtime_error("cannot write " + FileName);
}

std::string ReadBytes(const std::string& FileName)
{
    // Whatever else holds the file (a program that has just renamed it into place still
    // has it open for deletion), reading it must not be refused.
    const HANDLE File = CreateFileA(FileName.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
    if (File == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + FileName);
    return ReadAndClose(File);
}

std::string ReadAndClose(HANDLE File)
{
    std::string Bytes;
    char Buffer[65536];
    DWORD Read = 0;
    while (ReadFile(File, Buffer, sizeof Buffer, &Read, nullptr) && Read > 0)
        Bytes.append(Buffer, Read);
    CloseHandle(File);
    return Bytes;
}

bool Exists(const std::string& FileName)
{
    return GetFileAttributesA(FileName.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> ListFolder(const std::string& Folder)
{
    std::vector<std::string> Names;
    WIN32_FIND_DATAA Data;
    const HANDLE Find = FindFirstFileA((Folder + "*").c_str(), &Data);
    if (Find != INVALID_HANDLE_VALUE) {
        do {
            const std::string Name = Data.cFileName;
            if (Name != "." && Name != "..")
                Names.push_back(Name);
        } while (FindNextFileA(Find, &Data));
        FindClose(Find);
    }
    std::sort(Names.begin(), Names.end());
    return Names;
}

std::string WinePath(const std::string& UnixPath)
{
    std::string Path = "Z:" + UnixPath;
    std::replace(Path.begin(), Path.end(), '/', '\\');
    return Path;
}

} // namespace tol::test
