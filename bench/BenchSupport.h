// What the benchmarks share: a clock, medians, folders of their own in the temporary
// folder, real files, and one way of printing a figure beside its goal.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace tol::bench {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point Start);

// The middle value (the mean of the two middle values for an even count).
double Median(std::vector<double> Values);

// A new, empty folder in the system's temporary folder, removed with its content at the end.
class TBenchFolder {
public:
    explicit TBenchFolder(const std::string& Name);
    ~TBenchFolder();
    TBenchFolder(const TBenchFolder&) = delete;
    TBenchFolder& operator=(const TBenchFolder&) = delete;
    // Ends in "\".
    const std::string& Path() const noexcept { return FPath; }
    std::string operator/(const std::string& Name) const { return FPath + Name; }

private:
    std::string FPath;
};

// Removes a folder (a path ending in "\") with everything in it; read-only files too.
void RemoveTree(const std::string& Folder);

// Raise std::runtime_error on failure.
void WriteBytes(const std::string& FileName, const std::string& Bytes);
std::string ReadBytes(const std::string& FileName);
void MakeFolder(const std::string& Folder);

bool Exists(const std::string& FileName);

// Sets a file's last-write time to Age before now.
void SetFileAge(const std::string& FileName, std::chrono::seconds Age);

// A build product's Unix path as Wine sees it.
std::string WinePath(const std::string& UnixPath);

// "met" or "NOT met": a goal is printed beside its figure, never enforced.
const char* GoalText(bool Met);

} // namespace tol::bench
