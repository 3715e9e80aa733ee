// Times the launch (tol::RunZone: a unique name, the copy of the tutorial program, the
// zone name written into it, the start through the shell) on a 16 MB stand-in tutorial,
// against its floor: a plain copy of the same file started the same way. The two
// alternate within each round, the order swapping every round; every started copy
// must report its start, exit, and is then deleted so that the disk does not fill.
#include "BenchSupport.h"
#include "LaunchImp.h"
#include "Messages.h"
#include "Paths.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <exception>
#include <stdexcept>

using namespace tol;
using namespace tol::bench;

namespace {

constexpr int Rounds = 15;
constexpr std::size_t TutorialSize = 16u * 1024 * 1024;
constexpr char Zone[] = "benchzone";
constexpr char UnpatchedZone[] = "tutorialb"; // the stand-in's own field

struct TRunHost final : IZoneRunHost {
    std::string Tutorial, Offset;
    int Closed = 0;

    std::string GetTutorialText() const override { return Tutorial; }
    std::string GetOffsetText() const override { return Offset; }
    std::optional<std::string> GetSelectedInternalName() const override { return std::string(Zone); }
    void FocusTutorial() override { throw std::runtime_error("RunZone asked for the tutorial box"); }
    void FocusOffset() override { throw std::runtime_error("RunZone asked for the offset box"); }
    void FocusZones() override { throw std::runtime_error("RunZone asked for the zone list"); }
    void Close() override { ++Closed; }
};

std::vector<std::string> LauncherCopies(const std::string& Folder)
{
    std::vector<std::string> Names;
    for (auto& Name : ListFolder(Folder))
        if (IsLauncherCopyName(Name))
            Names.push_back(std::move(Name));
    return Names;
}

// The floor: what any launch must do at least, as TFile::Execute starts a file.
void CopyAndStart(const std::string& Source, const std::string& Target, const std::string& Folder)
{
    if (!CopyFileA(Source.c_str(), Target.c_str(), FALSE))
        throw std::runtime_error("CopyFileA failed: " + std::to_string(GetLastError()));
    const PIDLIST_ABSOLUTE Item = ILCreateFromPathA(Target.c_str());
    SHELLEXECUTEINFOA Info{};
    Info.cbSize = sizeof Info;
    Info.fMask = SEE_MASK_INVOKEIDLIST;
    Info.lpVerb = "open";
    Info.lpFile = Target.c_str();
    Info.lpParameters = "";
    Info.lpDirectory = Folder.c_str();
    Info.nShow = SW_HIDE;
    Info.lpIDList = Item;
    const BOOL Started = ShellExecuteExA(&Info);
    const DWORD Error = GetLastError();
    ILFree(Item);
    if (!Started)
        throw std::runtime_error("ShellExecuteExA failed: " + std::to_string(Error));
}

// Waits for the started copy's report, checks the zone it found, waits for it to end
// (a running program cannot be deleted) and deletes the copy and the report.
void Settle(const std::string& Folder, const std::string& Copy, const std::string& ExpectedZone)
{
    const std::string Report = Folder + "StandInReport.txt";
    const auto Start = TClock::now();
    while (!Exists(Report)) {
        if (MillisecondsSince(Start) > 20000)
            throw std::runtime_error(Copy + " did not report its start");
        Sleep(5);
    }
    const std::string Text = ReadBytes(Report);
    if (Text.rfind("zone=" + ExpectedZone + "\r\n", 0) != 0)
        throw std::runtime_error(Copy + " reported \"" + Text + "\", expected zone " + ExpectedZone);
    while (!DeleteFileA((Folder + Copy).c_str())) {
        if (MillisecondsSince(Start) > 20000)
            throw std::runtime_error(Copy + " cannot be deleted: " + std::to_string(GetLastError()));
        Sleep(5);
    }
    if (!DeleteFileA(Report.c_str()))
        throw std::runtime_error("cannot delete " + Report);
}

int Run()
{
    const TBenchFolder Folder("run");
    const std::string Game = Folder / "game\\";
    const std::string Temp = Folder / "tmp\\";
    MakeFolder(Game);
    MakeFolder(Temp);
    // The launch's empty twins go to a temporary folder of the benchmark's own.
    if (!SetEnvironmentVariableA("TMP", Temp.c_str()))
        throw std::runtime_error("cannot set TMP");

    std::string Tutorial = ReadBytes(WinePath(TOLVANE_STANDIN_EXE));
    if (Tutorial.size() > TutorialSize)
        throw std::runtime_error("the stand-in is larger than 16 MB");
    Tutorial.resize(TutorialSize, '\0');
    WriteBytes(Game + "Tutorial.exe", Tutorial);
    WriteBytes(Game + "StandInExit.txt", "0");

    TRunHost Host;
    Host.Tutorial = Game + "Tutorial.exe";
    Host.Offset = ReadBytes(WinePath(TOLVANE_STANDIN_OFFSET));
    while (!Host.Offset.empty() && (Host.Offset.back() == '\n' || Host.Offset.back() == '\r'))
        Host.Offset.pop_back();

    std::vector<std::string> Messages;
    SetMessageBoxHandler([&](TMessageKind, const std::string& Text) { Messages.push_back(Text); });

    const auto Launch = [&] {
        const int ClosedBefore = Host.Closed;
        const auto Start = TClock::now();
        RunZone(Host);
        const double Ms = MillisecondsSince(Start);
        if (!Messages.empty())
            throw std::runtime_error("RunZone showed: " + Messages.front());
        if (Host.Closed != ClosedBefore + 1)
            throw std::runtime_error("RunZone did not ask the window to close");
        const auto Copies = LauncherCopies(Game);
        if (Copies.size() != 1)
            throw std::runtime_error("expected one copy, found " + std::to_string(Copies.size()));
        Settle(Game, Copies[0], Zone);
        for (const auto& Twin : LauncherCopies(Temp))
            DeleteFileA((Temp + Twin).c_str());
        return Ms;
    };
    int FloorCount = 0;
    const auto Floor = [&] {
        const std::string Name = "Floor" + std::to_string(++FloorCount) + ".exe";
        const auto Start = TClock::now();
        CopyAndStart(Host.Tutorial, Game + Name, Game);
        const double Ms = MillisecondsSince(Start);
        Settle(Game, Name, UnpatchedZone);
        return Ms;
    };

    Launch(); // warm-up: the shell and the file cache
    Floor();
    std::vector<double> LaunchTimes, FloorTimes;
    for (int Round = 0; Round < Rounds; ++Round) {
        if (Round % 2) {
            FloorTimes.push_back(Floor());
            LaunchTimes.push_back(Launch());
        } else {
            LaunchTimes.push_back(Launch());
            FloorTimes.push_back(Floor());
        }
    }

    const double L = Median(LaunchTimes), F = Median(FloorTimes);
    std::printf("16 MB stand-in tutorial, %d alternating rounds after one warm-up, medians:\n", Rounds);
    std::printf("  tol::RunZone up to the copy started:        %8.2f ms\n", L);
    std::printf("  floor, CopyFileA + ShellExecuteExA:         %8.2f ms\n", F);
    std::printf("  ratio RunZone/floor: %.3f   (goal: at most 1.10: %s)\n", L / F, GoalText(L / F <= 1.10));
    return 0;
}

} // namespace

int main() { return RunBenchmark("bench_run_zone", Run); }
