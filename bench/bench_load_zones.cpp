// Times the loading of the zone catalogue from TOL.ini at three catalogue sizes, and,
// for comparison, reading the same section one key at a time.
//
// Wine keeps the last ten settings files it parsed, and parses a file again on every
// request while its last write is less than about two seconds old. The catalogues are
// therefore dated an hour back (as a user's TOL.ini is), and a "cold" run first reads
// twelve other settings files so that its own file must be parsed again, as at a
// program start; a "warm" run finds the file already parsed.
#include "BenchSupport.h"
#include "Settings.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

using namespace tol;
using namespace tol::bench;

namespace {

constexpr int Runs = 7;
constexpr int EvictionFiles = 12;

std::string Catalogue(int Count)
{
    std::string Text = "[Settings]\r\nTutorial=C:\\Program Files\\EverQuest\\Tutorial.exe\r\nOffset=1669500\r\n"
                       "\r\n[Zones]\r\n";
    for (int I = 1; I <= Count; ++I)
        Text += "Zone " + std::to_string(I) + "=zone" + std::to_string(I) + "|Works\r\n";
    return Text;
}

class TCacheEvictor {
public:
    explicit TCacheEvictor(const TBenchFolder& Folder)
    {
        for (int I = 0; I < EvictionFiles; ++I) {
            FFiles.push_back(Folder / ("Evict" + std::to_string(I) + ".ini"));
            WriteBytes(FFiles.back(), "[A]\r\nB=" + std::to_string(I) + "\r\n");
            SetFileAge(FFiles.back(), std::chrono::hours(1));
        }
    }
    void Evict() const
    {
        char Buffer[16];
        for (const auto& File : FFiles)
            GetPrivateProfileStringA("A", "B", "", Buffer, sizeof Buffer, File.c_str());
    }

private:
    std::vector<std::string> FFiles;
};

// One LoadZones as a program start does it; raises when the catalogue did not come back whole.
double TimeLoadZones(const std::string& FileName, int Count)
{
    ReleaseIniFile();
    IniFileName = FileName;
    const auto Start = TClock::now();
    LoadZones();
    const double Ms = MillisecondsSince(Start);
    const std::string N = std::to_string(Count);
    const TZone Last = Zones.empty() ? TZone{} : Zones.back();
    if (Zones.size() != static_cast<std::size_t>(Count) || Last.Name != "Zone " + N || Last.InternalName != "zone" + N
        || Last.Status != "Works")
        throw std::runtime_error("LoadZones gave " + std::to_string(Zones.size()) + " zones, the last \"" + Last.Name
                                 + "\"=\"" + Last.InternalName + "\"|\"" + Last.Status + "\"; expected " + N);
    return Ms;
}

double TimeSingleKeyReads(const std::string& FileName, int Count)
{
    const TIniFile Ini(FileName);
    int Found = 0;
    const auto Start = TClock::now();
    for (int I = 1; I <= Count; ++I)
        Found += Ini.ReadString("Zones", "Zone " + std::to_string(I), "") == "zone" + std::to_string(I) + "|Works";
    const double Ms = MillisecondsSince(Start);
    if (Found != Count)
        throw std::runtime_error("ReadString found " + std::to_string(Found) + " of " + std::to_string(Count));
    return Ms;
}

// The floor of a load: the two requests any reading of the catalogue makes, the key
// names and the section's lines, into buffers already large enough.
double TimeServiceRequests(const std::string& FileName)
{
    std::vector<char> Buffer(1 << 20);
    const auto Start = TClock::now();
    const DWORD Names = GetPrivateProfileStringA("Zones", nullptr, "", Buffer.data(), static_cast<DWORD>(Buffer.size()),
                                                 FileName.c_str());
    const DWORD Lines = GetPrivateProfileSectionA("Zones", Buffer.data(), static_cast<DWORD>(Buffer.size()),
                                                  FileName.c_str());
    const double Ms = MillisecondsSince(Start);
    if (Names == 0 || Lines == 0)
        throw std::runtime_error("the settings service gave no zones");
    return Ms;
}

int Run()
{
    const TBenchFolder Folder("zones");
    const TCacheEvictor Evictor(Folder);
    const int Sizes[] = {100, 1000, 5000};
    std::string Files[3];
    for (int I = 0; I < 3; ++I) {
        const std::string Sub = Folder / (std::to_string(Sizes[I]) + "\\");
        MakeFolder(Sub);
        Files[I] = Sub + "TOL.ini";
        WriteBytes(Files[I], Catalogue(Sizes[I]));
        SetFileAge(Files[I], std::chrono::hours(1));
    }

    std::printf("tol::LoadZones, median of %d runs (cold: file parsed afresh, as at a program start; "
                "warm: file already parsed by Wine)\n",
                Runs);
    double Cold[3];
    for (int I = 0; I < 3; ++I) {
        std::vector<double> ColdRuns, WarmRuns;
        for (int R = 0; R < Runs; ++R) {
            Evictor.Evict();
            ColdRuns.push_back(TimeLoadZones(Files[I], Sizes[I]));
        }
        for (int R = 0; R < Runs; ++R)
            WarmRuns.push_back(TimeLoadZones(Files[I], Sizes[I]));
        Cold[I] = Median(ColdRuns);
        std::printf("  %4d zones: cold %8.2f ms   warm %8.2f ms", Sizes[I], Cold[I], Median(WarmRuns));
        if (Sizes[I] == 1000)
            std::printf("   (goal: cold under 50 ms: %s)", GoalText(Cold[I] < 50));
        if (Sizes[I] == 5000)
            std::printf("   (goal: cold under 25 ms: %s)", GoalText(Cold[I] < 25));
        std::printf("\n");
    }
    const double Ratio = Cold[2] / Cold[1];
    std::printf("  5000/1000 ratio (cold): %.2f   (goal: under 8: %s)\n", Ratio, GoalText(Ratio < 8));
    std::vector<double> Floor;
    for (int R = 0; R < Runs; ++R) {
        Evictor.Evict();
        Floor.push_back(TimeServiceRequests(Files[2]));
    }
    std::printf("  5000 zones, the service's own two requests (key names, section lines), cold: %.2f ms;\n"
                "  LoadZones/requests ratio (cold): %.2f\n",
                Median(Floor), Cold[2] / Median(Floor));

    std::vector<double> Settled;
    for (int R = 0; R < 3; ++R) {
        Evictor.Evict();
        Settled.push_back(TimeSingleKeyReads(Files[1], 1000));
    }
    std::printf("For comparison, 1000 single-key TIniFile::ReadString on the 1000-zone file:\n");
    std::printf("  file dated an hour back:  %8.2f ms (median of 3)\n", Median(Settled));
    SetFileAge(Files[1], std::chrono::seconds(0));
    std::printf("  file written just now:    %8.2f ms (1 run; Wine parses it on every call)\n",
                TimeSingleKeyReads(Files[1], 1000));
    ReleaseIniFile();
    return 0;
}

} // namespace

int main() { return RunBenchmark("bench_load_zones", Run); }
