// What the benchmarks share: a clock, medians, folders of their own in the temporary
// folder, real files, and one way of printing a figure beside its goal.
#pragma once

#include "Files.h"

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

// Folders of the benchmark's own and real files, as the tests have them.
using TBenchFolder = test::TTestFolder;
using test::Exists;
using test::ListFolder;
using test::ReadBytes;
using test::RemoveTree;
using test::WinePath;
using test::WriteBytes;

// Raises std::runtime_error on failure.
void MakeFolder(const std::string& Folder);

// Sets a file's last-write time to Age before now.
void SetFileAge(const std::string& FileName, std::chrono::seconds Age);

// Runs a benchmark's body as its main: a failure is printed and ends it with code 2.
int RunBenchmark(const char* Name, int (*Body)());

// "met" or "NOT met": a goal is printed beside its figure, never enforced.
const char* GoalText(bool Met);

} // namespace tol::bench
