// The start-up clean-up of the real TOL.exe in a crowded tutorial folder: 1000 copies
// an earlier run left, and 1000 files and folders that only look like copies. The
// copies go; every other name and byte stays.
#include "FaultFixture.h"

#include <cwchar>
#include <set>

using namespace tol;
using namespace tol::test;

namespace {

using CleanUpFaults = FaultProgramTest;

std::wstring Format(const wchar_t* Pattern, unsigned Number)
{
    wchar_t Buffer[64];
    std::swprintf(Buffer, 64, Pattern, Number);
    return Buffer;
}

std::wstring Lower(std::wstring Text)
{
    for (auto& C : Text)
        C = static_cast<wchar_t>(std::towlower(C));
    return Text;
}

// Names that only look like copies, as the system's wildcard "TOL*.exe" sees them:
// long names it matches through their short aliases, names the ANSI calls read
// differently (a trailing blank or dot, characters from outside the code page: a
// fullwidth one, read as "TOL1.exe" by the ANSI calls, a Greek capital alpha, a
// superscript one), and names one character away from a copy's.
const std::vector<std::wstring> LookAlikes = {
    L"TOL.exe",       L"TOLKIEN.exe",   L"TOLG.exe",      L"TOL12345.exe",
    L"TOL1.exe.bak",  L"TOL1.exe ",     L"TOL1.exe.",     L"TOL1.exe.txt",
    L"xTOL1.exe",     L" TOL1.exe",     L".TOL1.exe",     L"TOL1.ex",
    L"TOL1.exe_",     L"TOL1.exe.exe",  L"TOL1.EXE.lnk",  L"TOL 1.exe",
    L"TOL1 .exe",     L"TOL1..exe",     L"TOL-1.exe",     L"TOL+1.exe",
    L"TOL0x1.exe",    L"TOL$1.exe",     L"TOLx1.exe",     L"TOL1~1.EXE",
    L"TOL1",          L"TOLABCDE.exe",  L"TOL00000.exe",  L"Tolerance Long Name.exe",
    L"TOL\xFF11.exe", L"TOL\x0391.exe", L"TOL\x00B9.exe", L"TOL\x00E9.exe"};

// Families of look-alikes, numbered like the copies.
const std::vector<const wchar_t*> LookAlikeFamilies = {
    L"TOL%X.exe.bak", L"TOL%05X.exe",   L"TOLG%X.exe", L"xTOL%X.exe", L"TOL%X.txt",     L"TOL%Xz.exe",
    L"TOL_%X.exe",    L"TOL%X.exe.txt", L"Tol %X.exe", L"TOL%X.com",  L"TOL%X.exe.old", L"%X.exe"};

const std::vector<const wchar_t*> CopyStyles = {L"TOL%X.EXE", L"tol%x.exe", L"Tol%X.Exe", L"TOL%x.exe"};

} // namespace

TEST_F(CleanUpFaults, ThousandCopiesGoAndThousandLookAlikesStayByteForByte)
{
    // The tutorial itself has a copy's name: it is kept all the same.
    DeleteFileA(Tutorial().c_str());
    const std::string TutorialFile = Game / "TOLFACE.exe";
    WriteBytes(TutorialFile, Original);
    const std::wstring Folder = Widen(Game.Path());

    std::set<std::wstring> Taken; // without regard to case, as the file system takes names
    std::vector<std::wstring> Leftovers, Kept;
    const auto Add = [&](const std::wstring& Name, std::vector<std::wstring>& Into) {
        ASSERT_TRUE(Taken.insert(Lower(Name)).second) << Utf8(Name);
        Into.push_back(Name);
    };

    // 1000 copies an earlier run left, in every letter case; some hidden, some also
    // marked as system files; "TOL1.exe" among them, beside names read like it.
    Add(L"TOL1.exe", Leftovers);
    for (unsigned I = 1; Leftovers.size() < 1000; ++I)
        Add(Format(CopyStyles[I % CopyStyles.size()], I * 61), Leftovers);
    for (std::size_t I = 0; I < Leftovers.size(); ++I)
        WriteBytes(Folder + Leftovers[I], "copy " + std::to_string(I));
    for (std::size_t I = 0; I < Leftovers.size(); I += 97)
        SetFileAttributesW(Verbatim(Folder + Leftovers[I]).c_str(), FILE_ATTRIBUTE_HIDDEN);
    for (std::size_t I = 50; I < Leftovers.size(); I += 89)
        SetFileAttributesW(Verbatim(Folder + Leftovers[I]).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

    // 1000 names that stay: look-alikes, folders with copies' names (one holding a copy's
    // name of its own: the clean-up does not go into folders), and read-only copies,
    // which cannot be deleted and are left as they are.
    for (const auto& Name : LookAlikes)
        Add(Name, Kept);
    for (const wchar_t* Name : {L"TOL5.exe", L"TOLA.EXE", L"TOLB.exe"}) {
        Add(Name, Kept);
        CreateDirectoryW(Verbatim(Folder + Name).c_str(), nullptr);
    }
    WriteBytes(Folder + L"TOL5.exe\\keep.txt", "inside a folder named like a copy");
    WriteBytes(Folder + L"TOLB.exe\\TOL1.exe", "a copy's name inside a folder");
    for (const wchar_t* Name : {L"TOLC.exe", L"TOLD.EXE"}) {
        Add(Name, Kept);
        WriteBytes(Folder + Name, "a read-only copy");
        SetFileAttributesW(Verbatim(Folder + Name).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    for (unsigned I = 1; Kept.size() < 1000; ++I)
        Add(Format(LookAlikeFamilies[I % LookAlikeFamilies.size()], I), Kept);
    for (std::size_t I = 0; I < Kept.size(); ++I)
        if (!Exists(Folder + Kept[I]))
            WriteBytes(Folder + Kept[I], "look-alike " + std::to_string(I) + std::string(I % 7, '\xA7'));
    for (std::size_t I = 3; I < Kept.size(); I += 101)
        SetFileAttributesW(Verbatim(Folder + Kept[I]).c_str(), FILE_ATTRIBUTE_HIDDEN);

    // The temporary folder has copies and look-alikes too.
    for (const char* Name : {"TOLff.exe", "TOL1a2b.EXE"})
        WriteBytes(Temp / Name, "a twin an earlier run left");
    for (const char* Name : {"TOLxyz.exe", "TOL1.exe.bak", "TOL12345.exe"})
        WriteBytes(Temp / Name, "a look-alike");
    ASSERT_EQ(Leftovers.size(), 1000u);
    ASSERT_EQ(Kept.size(), 1000u);

    const HWND Main = StartWith(
        SettingsFor(TutorialFile, std::to_string(StandInOffset()), "North Qeynos=qeynos2x|\r\n"));
    ASSERT_TRUE(Main) << "the window shows once the clean-up is done";
    EXPECT_FALSE(TopWindow({"#32770", "Tolvane", Program.Id()}));
    EXPECT_EQ(RowCount(OnlyChild(Main, WC_LISTVIEWA)), 1);
    EXPECT_EQ(CloseAndWait(Program, Main), 0);

    std::vector<std::string> Left;
    for (const auto& Name : Leftovers)
        if (Exists(Folder + Name))
            Left.push_back(Utf8(Name));
    EXPECT_TRUE(Left.empty()) << Left.size() << " copies left, such as " << testing::PrintToString(Left);
    EXPECT_EQ(Copies(Temp.Path()), std::vector<std::string>{}) << "the temporary folder's copies go too";
    for (const auto& Name : Kept)
        EXPECT_TRUE(Exists(Folder + Name)) << Utf8(Name);
    EXPECT_TRUE(Exists(TutorialFile));
    EXPECT_TRUE(NothingLost(Before));
}
