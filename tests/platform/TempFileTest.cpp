// Files that start through the shell, and fresh temporary names, on the real system.
#include "Errors.h"
#include "Paths.h"
#include "TempFileImp.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace tol;
using namespace tol::test;

namespace {

void ExpectFreshCopyName(const std::string& FileName, const std::string& Folder)
{
    EXPECT_EQ(ExtractFilePath(FileName), Folder);
    EXPECT_TRUE(IsLauncherCopyName(ExtractFileName(FileName))) << FileName;
    EXPECT_EQ(FileName.substr(FileName.size() - 4), ".EXE") << "the extension is appended as given";
    EXPECT_TRUE(Exists(FileName));
    EXPECT_EQ(ReadBytes(FileName), "");
}

} // namespace

TEST(TTempFile, EachObjectNamesANewEmptyFileThatOutlivesIt)
{
    TTestFolder Temp("temp");
    TScopedEnvironment Tmp("TMP", Temp.Path());
    std::string First, Second;
    {
        TTempFile A("TOL", "EXE");
        TTempFile B("TOL", "EXE");
        First = A.GetFileName();
        Second = B.GetFileName();
        EXPECT_TRUE(Exists(A.GetFileName()));
    }
    EXPECT_NE(First, Second);
    ExpectFreshCopyName(First, Temp.Path());
    ExpectFreshCopyName(Second, Temp.Path());
    EXPECT_EQ(ListFolder(Temp.Path()).size(), 2u) << "no .tmp file is left behind";
}

TEST(TTempFile, ADotInTheFolderLeavesTheFolderAlone)
{
    TTestFolder Temp("a.b");
    TScopedEnvironment Tmp("TMP", Temp.Path());
    TTempFile File("TOL", "EXE");
    ExpectFreshCopyName(File.GetFileName(), Temp.Path());
}

TEST(TTempFile, AMissingTemporaryFolderIsAnInputOutputError)
{
    TTestFolder Parent("gone");
    TScopedEnvironment Tmp("TMP", Parent / "missing\\");
    try {
        TTempFile File("TOL", "EXE");
        FAIL() << "made " << File.GetFileName();
    } catch (const EInOutError& E) {
        EXPECT_EQ(std::string(E.what()), InOutErrorText(E.ErrorCode()));
        EXPECT_NE(E.ErrorCode(), 0u);
    }
}

TEST(TFile, AFailedStartWarnsWithTheRealCause)
{
    TTestFolder Folder("exec");
    WriteBytes(Folder / "NotAProgram.exe", std::string(64, 'x'));
    for (const std::string Name : {"Missing.exe", "NotAProgram.exe"}) {
        TMessageRecorder Recorder;
        const TBoxWatcher ShellBoxes; // answers the shell's own box
        TFile File;
        File.SetFileName(Folder / Name);
        EXPECT_FALSE(File.Execute());
        ASSERT_EQ(Recorder.Messages.size(), 1u) << Name;
        const std::string Text = Recorder.Messages[0].Text;
        EXPECT_EQ(Recorder.Messages[0].Kind, TMessageKind::Warning);
        const std::string Head = "Unable to open file \"" + Folder / Name + "\".  ";
        EXPECT_EQ(Text.substr(0, Head.size()), Head);
        EXPECT_GT(Text.size(), Head.size()) << "the system's reason follows";
        EXPECT_EQ(Text.find("completed successfully"), std::string::npos) << Text;
    }
}
