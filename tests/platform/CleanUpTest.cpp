// The clean-up of leftover copies, on real files and a real running copy.
#include "CleanUp.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace tol;
using namespace tol::test;
using namespace std::chrono_literals;

TEST(CleanUp, DeletesOnlyTheLaunchersCopies)
{
    TTestFolder Game("clean");
    const std::vector<std::string> Copies = {"TOL1.EXE", "TOL2.exe", "tol3.Exe", "TOLbeef.exe"};
    const std::vector<std::string> Others = {"TOL.exe", "TOL4.dat", "TOLKIEN.exe", "Tolerance Long.Exe",
                                             "TOLx.exe_old", "TOL12345.exe", "TOL1A.exe"};
    for (const auto& Name : Copies)
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
    WriteBytes(Game / "StandInExit.txt", "20000");
    WriteBytes(Game / "TOL1.EXE", ReadBytes(StandInFileName()));
    for (const char* Name : {"TOL0.exe", "TOL2.exe", "TOL3.exe"})
        WriteBytes(Game / Name, "copy");
    WriteBytes(Game / "TOL4.exe", "read-only");
    SetFileAttributesA((Game / "TOL4.exe").c_str(), FILE_ATTRIBUTE_READONLY);

    STARTUPINFOA Startup{};
    Startup.cb = sizeof Startup;
    PROCESS_INFORMATION Process{};
    std::string CommandLine = "\"" + Game / "TOL1.EXE" + "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               Game.Path().c_str(), &Startup, &Process));
    ASSERT_TRUE(WaitForFile(Game / "StandInReport.txt", 20s));

    DeleteTempFiles(Game.Path());
    EXPECT_EQ(ListFolder(Game.Path()),
              (std::vector<std::string>{"StandInExit.txt", "StandInReport.txt", "TOL1.EXE", "TOL4.exe"}));

    TerminateProcess(Process.hProcess, 0);
    WaitForSingleObject(Process.hProcess, 10000);
    CloseHandle(Process.hProcess);
    CloseHandle(Process.hThread);
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
