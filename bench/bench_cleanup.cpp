// Times the removal of leftover copies beside the tutorial program in a folder that
// holds 1000 copies and 1000 entries that only look like them, and shows whether
// exactly the copies went. The check is printed; a failed check also ends the program
// with a non-zero code so that it is not missed.
#include "BenchSupport.h"
#include "CleanUp.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

using namespace tol;
using namespace tol::bench;

namespace {

constexpr int Runs = 3;
constexpr int CopyCount = 1000;
constexpr int PatternCount = 9;
constexpr int PerPattern = 111; // 9 * 111 + "TOL.exe" = 1000 unrelated entries

std::string Hex(unsigned Value, bool Upper, int Width = 1)
{
    char Buffer[16];
    std::snprintf(Buffer, sizeof Buffer, Upper ? "%0*X" : "%0*x", Width, Value);
    return Buffer;
}

// The launcher's copies: "TOL", one to four hexadecimal digits in either case (some
// with leading zeros), ".exe" in either case.
std::vector<std::string> CopyNames()
{
    std::vector<std::string> Names;
    for (int I = 0; I < CopyCount; ++I) {
        const unsigned Value = static_cast<unsigned>(I) * 0x41u; // distinct, at most 0xFD27
        Names.push_back(std::string(I % 5 ? "TOL" : "tol") + Hex(Value, I % 2 != 0, I % 7 ? 1 : 4)
                        + (I % 3 ? ".EXE" : ".exe"));
    }
    return Names;
}

struct TUnrelated {
    std::vector<std::string> Files, Folders;
};

// Entries the wildcard "TOL*.exe" may find (directly or through a short alias) that
// are not copies, and some it does not find.
TUnrelated UnrelatedNames()
{
    TUnrelated U;
    char Buffer[64];
    for (int K = 0; K < PerPattern; ++K) {
        const unsigned Value = static_cast<unsigned>(K) * 0x41u;
        std::snprintf(Buffer, sizeof Buffer, "TOLKIEN%04d.exe", K + 1);
        U.Files.push_back(Buffer);
        std::snprintf(Buffer, sizeof Buffer, "data%04d.dat", K + 1);
        U.Files.push_back(Buffer);
        U.Files.push_back("TOL" + Hex(0x10000u + static_cast<unsigned>(K), true) + ".exe"); // five digits
        U.Files.push_back("TOLG" + std::to_string(K) + ".exe");                             // not hexadecimal
        U.Files.push_back("TOL" + Hex(Value, true) + ".exe_old");
        U.Files.push_back("xTOL" + Hex(Value, true) + ".exe");
        U.Files.push_back("TOL" + Hex(Value, false) + ".exe.bak");
        U.Files.push_back("TOL-" + std::to_string(K) + ".exe");
        U.Folders.push_back("TOL" + Hex(Value + 1, true) + ".exe"); // a folder named like a copy
    }
    U.Files.push_back("TOL.exe");
    return U;
}

void Fill(const std::string& Folder, const std::vector<std::string>& Copies, const TUnrelated& Unrelated)
{
    WriteBytes(Folder + "Tutorial.exe", "tutorial");
    for (const auto& Name : Copies)
        WriteBytes(Folder + Name, "copy");
    for (const auto& Name : Unrelated.Files)
        WriteBytes(Folder + Name, "other");
    for (const auto& Name : Unrelated.Folders)
        MakeFolder(Folder + Name);
}

int Run()
{
    const auto Copies = CopyNames();
    const auto Unrelated = UnrelatedNames();
    const std::size_t UnrelatedCount = Unrelated.Files.size() + Unrelated.Folders.size();
    static_assert(PatternCount * PerPattern + 1 == 1000);

    const TBenchFolder Root("cleanup");
    std::vector<double> Times, FloorTimes;
    std::size_t CopiesLeft = 0, UnrelatedMissing = 0;
    bool TutorialMissing = false;
    for (int R = 0; R < Runs; ++R) {
        const std::string Game = Root / ("game" + std::to_string(R) + "\\");
        MakeFolder(Game);
        Fill(Game, Copies, Unrelated);

        const auto Start = TClock::now();
        DeleteTutorialTempFiles(Game + "Tutorial.exe");
        Times.push_back(MillisecondsSince(Start));

        std::size_t Left = 0, Missing = 0;
        for (const auto& Name : Copies)
            Left += Exists(Game + Name);
        for (const auto& Name : Unrelated.Files)
            Missing += !Exists(Game + Name);
        for (const auto& Name : Unrelated.Folders) {
            const DWORD Attributes = GetFileAttributesA((Game + Name).c_str());
            Missing += Attributes == INVALID_FILE_ATTRIBUTES || !(Attributes & FILE_ATTRIBUTE_DIRECTORY);
        }
        const bool TutorialGone = !Exists(Game + "Tutorial.exe");
        CopiesLeft += Left;
        UnrelatedMissing += Missing;
        TutorialMissing = TutorialMissing || TutorialGone;

        // For comparison, the copies made again and deleted by name, without a search.
        for (const auto& Name : Copies)
            WriteBytes(Game + Name, "copy");
        const auto FloorStart = TClock::now();
        for (const auto& Name : Copies)
            DeleteFileA((Game + Name).c_str());
        FloorTimes.push_back(MillisecondsSince(FloorStart));
        RemoveTree(Game);
    }

    std::printf("tol::DeleteTutorialTempFiles, %zu copies among %zu unrelated entries (%zu of them folders):\n",
                Copies.size(), UnrelatedCount, Unrelated.Folders.size());
    std::printf("  median of %d runs: %.2f ms (runs:", Runs, Median(Times));
    for (double T : Times)
        std::printf(" %.2f", T);
    std::printf(")\n");
    std::printf("  for comparison, DeleteFileA of the %zu copies by name: %.2f ms (median)\n", Copies.size(),
                Median(FloorTimes));
    std::printf("  every copy gone: %s (%zu left over %d runs)\n", CopiesLeft ? "NO" : "yes", CopiesLeft, Runs);
    std::printf("  every unrelated entry kept: %s (%zu missing over %d runs)\n", UnrelatedMissing ? "NO" : "yes",
                UnrelatedMissing, Runs);
    std::printf("  the tutorial program kept: %s\n", TutorialMissing ? "NO" : "yes");
    const bool AllRight = CopiesLeft == 0 && UnrelatedMissing == 0 && !TutorialMissing;
    if (!AllRight)
        std::printf("  CHECK FAILED\n");
    return AllRight ? 0 : 1;
}

} // namespace

int main() { return RunBenchmark("bench_cleanup", Run); }
