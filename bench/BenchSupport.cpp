#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>
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

void MakeFolder(const std::string& Folder)
{
    if (!CreateDirectoryA(Folder.c_str(), nullptr))
        throw std::runtime_error("cannot create " + Folder);
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

int RunBenchmark(const char* Name, int (*Body)())
{
    try {
        return Body();
    } catch (const std::exception& E) {
        std::printf("%s failed: %s\n", Name, E.what());
        return 2;
    }
}

const char* GoalText(bool Met) { return Met ? "met" : "NOT met"; }

} // namespace tol::bench
