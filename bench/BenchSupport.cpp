#include "BenchSupport.h"

#include <algorithm>
#include <stdexcept>

namespace tol::bench {

double MillisecondsSince(TClock::time_point Start)
{
    return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

double Median(std::vector<double> Values)
{
    if (Values.empty())
        throw std::runtime_error("median of nothing");
    std::sort(Values.begin(), Values.end());
    const std::size_t Middle = Values.size() / 2;
    return Values.size() % 2 ? Values[Middle] : (Values[Middle - 1] + Values[Middle]) / 2;
}

TBenchFolder::TBenchFolder(const std::string& Name)
{
    char Buffer[MAX_PATH + 1];
    const DWORD Length = GetTempPathA(sizeof Buffer, Buffer);
    if (Length == 0 || Length >= sizeof Buffer)
        throw std::runtime_error("no temporary folder");
    const std::string Root(Buffer, Length);
    for (int Counter = 1;; ++Counter) {
        FPath = Root + "tolvane-bench-" + Name + "-" + std::to_string(GetCurrentProcessId()) + "-"
                + std::to_string(Counter) + "\\";
        if (CreateDirectoryA(FPath.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + FPath);
    }
}

TBenchFolder::~TBenchFolder() { RemoveTree(FPath); }

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
    const HANDLE File = CreateFileA(FileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + FileName);
    std::string Bytes;
    char Buffer[65536];
    DWORD Read = 0;
    while (ReadFile(File, Buffer, sizeof Buffer, &Read, nullptr) && Read > 0)
        Bytes.append(Buffer, Read);
    CloseHandle(File);
    return Bytes;
}

void MakeFolder(const std::string& Folder)
{
    if (!CreateDirectoryA(Folder.c_str(), nullptr))
        throw std::runtime_error("cannot create " + Folder);
}

bool Exists(const std::string& FileName)
{
    return GetFileAttributesA(FileName.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void SetFileAge(const std::string& FileName, std::chrono::seconds Age)
{
    FILETIME Now;
    GetSystemTimeAsFileTime(&Now);
    ULARGE_INTEGER Time;
    Time.LowPart = Now.dwLowDateTime;
    Time.HighPart = Now.dwHighDateTime;
    Time.QuadPart -= static_cast<std::uint64_t>(Age.count()) * 10'000'000u;
    FILETIME Then;
    Then.dwLowDateTime = Time.LowPart;
    Then.dwHighDateTime = Time.HighPart;
    const HANDLE File = CreateFileA(FileName.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + FileName);
    const BOOL Done = SetFileTime(File, nullptr, nullptr, &Then);
    CloseHandle(File);
    if (!Done)
        throw std::runtime_error("cannot date " + FileName);
}

std::string WinePath(const std::string& UnixPath)
{
    std::string Path = "Z:" + UnixPath;
    std::replace(Path.begin(), Path.end(), '/', '\\');
    return Path;
}

const char* GoalText(bool Met) { return Met ? "met" : "NOT met"; }

} // namespace tol::bench
