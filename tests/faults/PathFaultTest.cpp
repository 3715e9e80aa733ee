// Tutorial paths that are not what they seem, on the real main window.
#include "FaultFixture.h"

using namespace tol;
using namespace tol::test;

namespace {

using PathFaults = FaultWindowTest;

} // namespace

TEST_F(PathFaults, APathNamingAFolderIsNotFoundAndNothingIsMade)
{
    CreateDirectoryA((Game / "Folder.exe").c_str(), nullptr);
    WriteBytes(Game / "Folder.exe\\Tutorial.exe", "a file inside the folder");
    Open(StandardSettings());
    const std::string Folder = Game.Path().substr(0, Game.Path().size() - 1);
    ExpectEachRefused(Form->EditTutorial, {Game / "Folder.exe", Game / "Folder.exe\\", Game.Path(), Folder}, NotFound);
}

TEST_F(PathFaults, APathWithWildcardsNamesNoOneFileAndIsNotFoundEvenWhereItMatches)
{
    Open(StandardSettings());
    ExpectEachRefused(Form->EditTutorial, WildcardPaths(Game.Path()), NotFound);
}

TEST_F(PathFaults, ATrailingBlankOrDotIsDroppedByTheSystemAndTheLaunchGoesOn)
{
    // Windows, and Wine with it, drop blanks and dots at the end of a path's last name:
    // the path as typed names the tutorial program, and the copy goes beside it.
    for (const char* Ending : {" ", "  ", ".", ". "}) {
        const TDiskSnapshot Before = OpenAndRecord();
        SetWindowTextA(Form->EditTutorial, (Tutorial() + Ending).c_str());
        EXPECT_TRUE(RunLaunches("ecommons")) << "[" << Ending << "]";
        EXPECT_EQ(Copies(Game.Path()).size(), 1u);
        EXPECT_TRUE(NothingLost(Before, StandInByProducts)) << "[" << Ending << "]";
        WaitUntilCopiesCanGo(Game.Path());
    }
}

TEST_F(PathFaults, PathsOf259And260CharactersLaunchWhereTheSystemReachesThemAndOneOf300IsNotFound)
{
    const std::string Offset = std::to_string(StandInOffset());
    for (const std::size_t Length : {259u, 260u, 300u}) {
        const std::string Folder = MakeFolderOfLength(Game / ("L" + std::to_string(Length) + "\\"), Length - 12);
        const std::string Path = Folder + "Tutorial.exe";
        ASSERT_EQ(Path.size(), Length);
        CopyStandIn(Path);
        WriteBytes(Folder + "TOL1.exe", "a copy an earlier run left");
        // The ANSI calls reach 259 characters on Windows and 260 under Wine; never 300.
        const bool Reachable = GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
        ASSERT_TRUE(Length != 259 || Reachable);
        ASSERT_TRUE(Length != 300 || !Reachable);
        const bool FolderReachable = Folder.size() + 8 <= 260; // its "TOL*.exe" can be searched

        Open(SettingsFor(Path, Offset));
        EXPECT_TRUE(Watcher.Boxes().empty()) << Length;
        EXPECT_EQ(Text(Form->EditTutorial), Path);
        EXPECT_EQ(Copies(Folder).empty(), FolderReachable)
            << Length << ": the start-up deletes the leftover copy where it can reach it";
        TDiskSnapshot Before = Record();
        Before.AllowCopiesIn(Folder);

        if (Reachable) {
            EXPECT_TRUE(RunLaunches("ecommons", Folder)) << Length;
            EXPECT_EQ(Copies(Folder).size(), 1u) << Length;
            EXPECT_TRUE(CloseStandInsStartedIn(Folder)) << Length;
        } else {
            ASSERT_EQ(PressRun(), PumpIdle) << Length;
            ExpectWarningBox(NotFound(Path));
            EXPECT_TRUE(FocusIn(Form->EditTutorial)) << Length;
            EXPECT_EQ(Copies(Folder), std::vector<std::string>{"TOL1.exe"}) << Length;
        }
        EXPECT_EQ(Copies(Temp.Path()).size(), Reachable ? 1u : 0u) << "the unique name's file, until the window goes";
        EXPECT_TRUE(NothingLost(Before, StandInByProducts)) << Length;
        Form.reset();
    }
}

TEST_F(PathFaults, APathOf259CharactersLeavesNoRoomForTheCopysNameAndRunSaysItCannotOpenTheCopy)
{
    // A short tutorial name at the end of a 259-character path: the copy's name ("TOL",
    // at least one digit, ".EXE") is longer and makes a path the system does not take.
    const std::string Folder = MakeFolderOfLength(Game / "Deep\\", 254);
    const std::string Path = Folder + "T.exe";
    ASSERT_EQ(Path.size(), 259u);
    WriteBytes(Path, Original);
    Open(SettingsFor(Path, std::to_string(StandInOffset())));
    const TDiskSnapshot Before = Record();

    ASSERT_EQ(PressRun(), PumpIdle);
    const auto Twins = Copies(Temp.Path());
    ASSERT_EQ(Twins.size(), 1u);
    ExpectGeneralHandlerBox("Cannot open file " + Folder + Twins[0] + ".");
    EXPECT_TRUE(Copies(Folder).empty());
    Form.reset();
    EXPECT_TRUE(Copies(Temp.Path()).empty()) << "the shut-down deletes the unique name's file";
    EXPECT_TRUE(NothingLost(Before));
}
