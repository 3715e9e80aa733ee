// The launch end to end: a real copy of the stand-in tutorial program, patched and
// started by the real shell, and every way it can be refused or fail.
#include "CleanUp.h"
#include "Errors.h"
#include "LaunchImp.h"
#include "Paths.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <shellapi.h>

using namespace tol;
using namespace tol::test;

namespace {

class LaunchTest : public ::testing::Test, protected TStandInGame {
protected:
    // Every run, whatever its end, leaves the tutorial program as it was.
    ~LaunchTest() override { EXPECT_EQ(ReadBytes(Tutorial()), Original); }

    TScopedEnvironment Tmp{"TMP", Temp.Path()};
    TMessageRecorder Recorder;
    TRunHost Host{Tutorial(), std::to_string(StandInOffset()), "qeynos2x"};
};

} // namespace

TEST_F(LaunchTest, RunCopiesPatchesAndStartsTheCopyInTheTutorialsFolder)
{
    RunZone(Host);
    EXPECT_TRUE(Recorder.Messages.empty());
    EXPECT_EQ(Host.Requests, std::vector<std::string>{"close"});

    const auto Made = Copies(Game.Path());
    ASSERT_EQ(Made.size(), 1u);
    EXPECT_EQ(Made[0].substr(Made[0].size() - 4), ".EXE");
    EXPECT_EQ(ListFolder(Temp.Path()), Made) << "the empty twin in the temporary folder";
    EXPECT_EQ(ReadBytes(Temp / Made[0]), "");

    EXPECT_EQ(ReadBytes(Game / Made[0]), WithZone(Original, static_cast<std::size_t>(StandInOffset()), "qeynos2x"));

    const auto Report = WaitForStandInReport(Game.Path());
    ASSERT_TRUE(Report) << "the copy was not started";
    EXPECT_EQ(Report->Zone, "qeynos2x");
    EXPECT_EQ(lstrcmpiA((Report->WorkingFolder + "\\").c_str(), Game.Path().c_str()), 0) << Report->WorkingFolder;
}

TEST_F(LaunchTest, TheFieldIsTwelveBytesExactly)
{
    for (const auto& [Name, Field] :
         {std::pair<const char*, std::string>{"abcdefghijkl", "abcdefghijkl"}, {"abcdefghijklmno", "abcdefghijkl"}}) {
        Host.Selected = Name;
        Host.Requests.clear();
        RunZone(Host);
        EXPECT_EQ(Host.Requests, std::vector<std::string>{"close"});
        EXPECT_EQ(StartedZone(Game.Path()), Field.substr(0, Field.find('\0')));
        const auto Made = Copies(Game.Path());
        ASSERT_EQ(Made.size(), 1u);
        const std::string Bytes = ReadBytes(Game / Made[0]);
        EXPECT_EQ(Bytes.substr(static_cast<std::size_t>(StandInOffset()), 12), Field);
        EXPECT_EQ(Bytes.size(), Original.size());
        // The copy leaves at once; until it has, the clean-up keeps it.
        const auto CleanedUp = [&] {
            DeleteTutorialTempFiles(Host.Tutorial);
            return Copies(Game.Path()).empty();
        };
        ASSERT_TRUE(WaitUntil(CleanedUp, 10s, 50ms));
    }
}

TEST_F(LaunchTest, TheFirstAndTheLastTwelveBytesCanBeWrittenAndTheCopyKeepsItsSize)
{
    // A data file stands in here: patched it is no program, so the shell's failure is
    // expected too (and its own box is closed).
    Original = "0123456789abcdefXYZ";
    WriteBytes(Host.Tutorial, Original);
    const TBoxWatcher ShellBoxes; // answers the shell's own box
    Host.Selected = "north";
    for (const char* Offset : {"0", "7"}) {
        Host.Offset = Offset;
        RunZone(Host);
    }

    EXPECT_EQ(Host.Requests, (std::vector<std::string>{"close", "close"}));
    std::vector<std::string> Contents;
    for (const auto& Copy : Copies(Game.Path()))
        Contents.push_back(ReadBytes(Game / Copy));
    std::sort(Contents.begin(), Contents.end());
    ASSERT_EQ(Contents.size(), 2u);
    EXPECT_EQ(Contents[0], Original.substr(0, 7) + std::string("north\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(Contents[1], std::string("north\0\0\0\0\0\0\0", 12) + Original.substr(12));

    // Starting failed both times: the warning names the copy and a real cause.
    ASSERT_EQ(Recorder.Messages.size(), 2u);
    for (const auto& Message : Recorder.Messages) {
        EXPECT_EQ(Message.Kind, TMessageKind::Warning);
        EXPECT_EQ(Message.Text.rfind("Unable to open file \"" + Game.Path() + "TOL", 0), 0u) << Message.Text;
        EXPECT_EQ(Message.Text.find("completed successfully"), std::string::npos) << Message.Text;
    }
}

TEST_F(LaunchTest, AFailedStartWhoseErrorWasLostGivesTheShellsReasonOrSaysThereIsNone)
{
    const TFailingShell Shell;
    struct TCase {
        INT_PTR Result;
        DWORD Error;
        std::optional<std::string> Reason; // none: no box at all
    };
    // The player declined, as at Windows' warning before a downloaded program: no failure.
    std::vector<TCase> Cases{{SE_ERR_ACCESSDENIED, ERROR_CANCELLED, std::nullopt}};
    for (const auto& Lost : LostReasons())
        Cases.push_back({Lost.Result, ERROR_SUCCESS, Lost.Reason});
    for (const TCase& C : Cases) {
        Shell.Result = C.Result;
        Shell.Error = C.Error;
        Recorder.Messages.clear();
        Host.Requests.clear();
        RunZone(Host);
        EXPECT_TRUE(Shell.Mask & SEE_MASK_NOASYNC) << "the launcher ends right after the request";
        EXPECT_EQ(Host.Requests, std::vector<std::string>{"close"}) << C.Result;
        ASSERT_EQ(Recorder.Messages.size(), C.Reason ? 1u : 0u) << C.Result;
        if (C.Reason) {
            const std::string& Text = Recorder.Messages[0].Text;
            EXPECT_EQ(Text.substr(Text.find("\".  ") + 4), *C.Reason) << C.Result;
        }
    }
}

TEST_F(LaunchTest, TheTutorialsCompatibilityLayersReachTheCopyTheLaunchersOwnEnvironmentOtherwise)
{
    struct TCase {
        std::string User, Machine, Own, Started;
    };
    for (const TCase& Case :
         {TCase{"", "", "", "(none)"}, TCase{"~ WINXPSP3", "", "", "WINXPSP3"},
          TCase{"~ RUNASADMIN WIN98", "$ ~ WIN95", "", "RUNASADMIN WIN98"}, TCase{"", "$ ~ WIN95", "", "WIN95"},
          TCase{"", "", "HIGHDPIAWARE", "HIGHDPIAWARE"}, TCase{"~ WIN7RTM", "", "HIGHDPIAWARE", "WIN7RTM"}}) {
        // As the Compatibility page keeps them, under the program's full path.
        const auto Layers = [&](HKEY Root, const std::string& Value) {
            return TScopedRegistryValue(Root, R"(Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Layers)",
                                        Host.Tutorial, Value.empty() ? std::nullopt : std::optional(Value));
        };
        const auto User = Layers(HKEY_CURRENT_USER, Case.User), Machine = Layers(HKEY_LOCAL_MACHINE, Case.Machine);
        const TScopedEnvironment Own("__COMPAT_LAYER", Case.Own.empty() ? std::nullopt : std::optional(Case.Own));
        Host.Requests.clear();
        RunZone(Host);
        EXPECT_EQ(Host.Requests, std::vector<std::string>{"close"});
        const auto Report = WaitForStandInReport(Game.Path());
        ASSERT_TRUE(Report) << "the copy was not started";
        EXPECT_EQ(Report->CompatLayer, Case.Started) << Case.User << "/" << Case.Machine << "/" << Case.Own;
        DeleteFileA((Game / "StandInReport.txt").c_str());
    }
}

TEST_F(LaunchTest, BadInputIsRefusedBeforeAnythingIsMade)
{
    struct Case {
        std::string Tutorial, Offset;
        std::optional<std::string> Selected;
        std::string Message, Request;
    };
    const std::string Path = Host.Tutorial, Offset = Host.Offset;
    const auto Size = [&](long Plus) { return std::to_string(static_cast<long>(Original.size()) + Plus); };
    CreateDirectoryA((Game / "Folder.exe").c_str(), nullptr);
    std::vector<Case> Cases = {
        {Game / "Missing.exe", Offset, "a", NotFound(Game / "Missing.exe"), "focus tutorial"},
        {Game / "Folder.exe", Offset, "a", NotFound(Game / "Folder.exe"), "focus tutorial"},
        {"", Offset, "a", NotFound(""), "focus tutorial"},
        {Path, "16695OO", "a", "Invalid Offset.  Offset must be numeric.", "focus offset"},
        {Path, "", "a", "Invalid Offset.  Offset must be numeric.", "focus offset"},
        {Path, Offset + " ", "a", "Invalid Offset.  Offset must be numeric.", "focus offset"},
        {Path, "-1", "a", "Invalid Offset.  Offset must not be negative.", "focus offset"},
        {Path, "$FFFFFFFF", "a", "Invalid Offset.  Offset must not be negative.", "focus offset"},
        {Path, Size(-11), "a", "Invalid Offset.  Offset must lie within the tutorial program.", "focus offset"},
        {Path, "$7FFFFFFF", "a", "Invalid Offset.  Offset must lie within the tutorial program.", "focus offset"},
        {Path, Offset, std::nullopt, "Select a zone to explore.", "focus zones"},
        {Path, Offset, "", "The selected zone has no internal name.", "focus zones"},
    };
    for (const auto& Wildcard : WildcardPaths(Game.Path()))
        Cases.push_back({Wildcard, Offset, "a", NotFound(Wildcard), "focus tutorial"});
    for (const auto& C : Cases) {
        Host.Tutorial = C.Tutorial;
        Host.Offset = C.Offset;
        Host.Selected = C.Selected;
        Host.Requests.clear();
        Recorder.Messages.clear();
        RunZone(Host);
        ASSERT_EQ(Recorder.Messages.size(), 1u) << C.Message;
        EXPECT_EQ(Recorder.Messages[0].Kind, TMessageKind::Warning);
        EXPECT_EQ(Recorder.Messages[0].Text, C.Message);
        EXPECT_EQ(Host.Requests, std::vector<std::string>{C.Request});
    }
    EXPECT_TRUE(Copies(Game.Path()).empty());
    EXPECT_TRUE(ListFolder(Temp.Path()).empty());
}

TEST_F(LaunchTest, NoUniqueNameMeansAnInputOutputErrorAndNoCopy)
{
    TScopedEnvironment Missing("TMP", Temp / "missing\\");
    EXPECT_THROW(RunZone(Host), EInOutError);
    EXPECT_TRUE(Host.Requests.empty());
    EXPECT_TRUE(Copies(Game.Path()).empty());
}

TEST_F(LaunchTest, AFailedCopyIsNeitherPatchedNorStarted)
{
    // The tutorial program held open without sharing: the copy cannot read it.
    const TFileHandle Lock(CreateFileA(Host.Tutorial.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(Lock);
    try {
        RunZone(Host);
        ADD_FAILURE() << "the run went on";
    } catch (const EFOpenError& E) {
        const auto Twin = ListFolder(Temp.Path());
        ASSERT_EQ(Twin.size(), 1u) << "the empty file in the temporary folder remains";
        EXPECT_EQ(std::string(E.what()), "Cannot open file " + Game / Twin[0]);
    }
    EXPECT_TRUE(Host.Requests.empty()) << "the window stays open";
    EXPECT_TRUE(NothingStartedIn(Game.Path()));
}

namespace {

// A copy that comes out shorter than the tutorial measured before it: the tutorial
// changed between the two.
BOOL WINAPI CopyThatComesOutShort(LPCSTR, LPCSTR Target, BOOL)
{
    WriteBytes(Target, "short");
    return TRUE;
}

} // namespace

TEST_F(LaunchTest, ACopyShorterThanTheTutorialWasIsNeverLengthenedNorStarted)
{
    const TImportRedirect Copy("kernel32.dll", "CopyFileA", reinterpret_cast<void*>(&CopyThatComesOutShort));
    try {
        RunZone(Host);
        ADD_FAILURE() << "the run went on";
    } catch (const EWriteError& E) {
        const auto Made = Copies(Game.Path());
        ASSERT_EQ(Made.size(), 1u);
        EXPECT_EQ(std::string(E.what()), "Cannot write to file " + Game / Made[0]);
        EXPECT_EQ(ReadBytes(Game / Made[0]), "short");
    }
    EXPECT_TRUE(Host.Requests.empty()) << "the window stays open";
}
