// The clean-up of leftover copies, on real files and a real running copy.
#include "CleanUp.h"
#include "CopyNames.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace tol;
using namespace tol::test;

TEST(CleanUp, DeletesOnlyTheLaunchersCopies)
{
    TTestFolder Game("clean");
    std::vector<std::string> Others = LookAlikeCopyNames;
    Others.push_back("TOL1A.exe");
    for (const auto& Name : CopyNames)
        WriteBytes(Game / Name, "copy");
    for (const auto& Name : Others)
        WriteBytes(Game / Name, "other");
    CreateDirectoryA((Game / "TOL5.exe").c_str(), nullptr);

    // The tutorial program is kept even when its name looks like a copy's.
    DeleteTutorialTempFiles(Game / "TOL1A.exe");

    std::vector<std::string> Expected = Others;
    Expected.push_back("TOL5.exe");
    std::sort(Expected.begin(), Expected.end());
    EXPECT_EQ(ListFolder(Game.Path()), Expected);
}

TEST(CleanUp, ARunningOrReadOnlyCopySurvivesAndTheRestStillGo)
{
    TTestFolder Game("running");
    CopyStandIn(Game / "TOL1.EXE", "20000");
    for (const char* Name : {"TOL0.exe", "TOL2.exe", "TOL3.exe"})
        WriteBytes(Game / Name, "copy");
    WriteBytes(Game / "TOL4.exe", "read-only");
    SetFileAttributesA((Game / "TOL4.exe").c_str(), FILE_ATTRIBUTE_READONLY);

    TProcess Copy(Game / "TOL1.EXE", {Game.Path()});
    ASSERT_TRUE(Copy.Running());
    ASSERT_TRUE(WaitForStandInReport(Game.Path()));

    DeleteTempFiles(Game.Path());
    EXPECT_EQ(ListFolder(Game.Path()),
              (std::vector<std::string>{"StandInExit.txt", "StandInReport.txt", "TOL1.EXE", "TOL4.exe"}));

    Copy.End();
    DeleteTempFiles(Game.Path());
    EXPECT_FALSE(Exists(Game / "TOL1.EXE")) << "a later start deletes it";
}

TEST(CleanUp, TheTemporaryFolderIsCleanedToo)
{
    TTestFolder Temp("tmpclean");
    TScopedEnvironment Tmp("TMP", Temp.Path());
    for (const char* Name : {"TOL1.EXE", "TOL2.tmp", "TOLab.exe"})
        WriteBytes(Temp / Name, "");
    DeleteTempPathTempFiles();
    EXPECT_EQ(ListFolder(Temp.Path()), std::vector<std::string>{"TOL2.tmp"});
}
