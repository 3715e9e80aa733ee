// The portable rules: integer text, zone lines, the zone-name field, path parts,
// copy names, messages and checked arithmetic.
#include "Checked.h"
#include "CompatLayers.h"
#include "CopyNames.h"
#include "Errors.h"
#include "GlobalImp.h"
#include "IntRules.h"
#include "Paths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace tol;

TEST(IntRules, AcceptsDecimalAndHexadecimalForms)
{
    for (const char* Text : {"1669500", " 1669500", "   1669500", "+1669500", "01669500", "$19797C", "x19797C",
                             "X19797c", "0x19797C", "0X19797c", "$0019797C"})
        EXPECT_EQ(TryStrToInt(Text), 1669500) << Text;
    EXPECT_EQ(TryStrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(TryStrToInt("2147483647"), INT32_MAX);
    EXPECT_EQ(TryStrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(TryStrToInt("0x80000000"), INT32_MIN);
    EXPECT_EQ(TryStrToInt("-0"), 0);
    EXPECT_EQ(TryStrToInt("0"), 0);
}

TEST(IntRules, RefusesEverythingElse)
{
    for (const char* Text :
         {"",     " ",  "1669500 ", "\t1669500",           "-$10",        "+$10",       "-0x10",   "$",   "x",
          "0x",   "+",  "-",        "2147483648",          "-2147483649", "$100000000", "16695OO", "1 2", "1,669,500",
          "0x-1", "$G", "1e6",      "99999999999999999999"})
        EXPECT_FALSE(TryStrToInt(Text).has_value()) << '"' << Text << '"';
}

TEST(IntRules, FailureNamesTheTextExactlyAsGiven)
{
    try {
        StrToInt("1669500 ");
        FAIL() << "no failure";
    } catch (const EConvertError& E) {
        EXPECT_STREQ(E.what(), "'1669500 ' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_EQ(StrToInt("$19797C"), 1669500);
}

TEST(ZoneLine, SplitsAtTheFirstEqualsAndTheFirstBar)
{
    struct Case {
        const char *Line, *Name, *Internal, *Status;
    };
    for (const Case& C : {Case{"North Gate=ngate|Works", "North Gate", "ngate", "Works"},
                          Case{"North Gate=ngate", "North Gate", "ngate", ""}, Case{"Odd=a|b|c", "Odd", "a", "b|c"},
                          Case{"A=b=c|d", "A", "b=c", "d"}, Case{"Pipe|Name=x|y", "Pipe|Name", "", "Name=x|y"},
                          Case{" Spaced = in | out ", " Spaced ", " in ", " out "}, Case{"Empty=|", "Empty", "", ""},
                          Case{"Bar=|status", "Bar", "", "status"}}) {
        const TZone Zone = ParseZoneLine(C.Line);
        EXPECT_EQ(Zone.Name, C.Name) << C.Line;
        EXPECT_EQ(Zone.InternalName, C.Internal) << C.Line;
        EXPECT_EQ(Zone.Status, C.Status) << C.Line;
    }
}

TEST(ZoneName, IsTwelveBytesCutOrPaddedWithZeros)
{
    const auto Eight = StringToZoneName("qeynos2x");
    EXPECT_EQ(std::string(Eight.data(), 12), std::string("qeynos2x\0\0\0\0", 12));
    const auto Twelve = StringToZoneName("abcdefghijkl");
    EXPECT_EQ(std::string(Twelve.data(), 12), "abcdefghijkl");
    const auto Fifteen = StringToZoneName("abcdefghijklmno");
    EXPECT_EQ(std::string(Fifteen.data(), 12), "abcdefghijkl");
    EXPECT_EQ(StringToZoneName(""), TZoneName{});
    const auto High = StringToZoneName("\xE9t\xE9");
    EXPECT_EQ(std::string(High.data(), 4), std::string("\xE9t\xE9\0", 4));
}

TEST(Paths, SplitAtTheLastBackslashOrColon)
{
    EXPECT_EQ(ExtractFilePath("C:\\Program Files\\EverQuest\\Tutorial.exe"), "C:\\Program Files\\EverQuest\\");
    EXPECT_EQ(ExtractFileName("C:\\Program Files\\EverQuest\\Tutorial.exe"), "Tutorial.exe");
    EXPECT_EQ(ExtractFilePath("C:Tutorial.exe"), "C:");
    EXPECT_EQ(ExtractFileName("C:Tutorial.exe"), "Tutorial.exe");
    EXPECT_EQ(ExtractFilePath("Tutorial.exe"), "");
    EXPECT_EQ(ExtractFilePath("a/b/Tutorial.exe"), "") << "\"/\" is not a separator";
    EXPECT_EQ(ExtractFileName("C:\\Users\\a.b\\Temp\\"), "");
    for (const auto& [Path, Folder] :
         {std::pair{"C:\\Program Files\\EverQuest\\Tutorial.exe", "C:\\Program Files\\EverQuest"},
          std::pair{"C:\\Tutorial.exe", "C:\\"}, std::pair{"\\Tutorial.exe", "\\"},
          std::pair{"\\\\server\\games\\Tutorial.exe", "\\\\server\\games"}, std::pair{"C:Tutorial.exe", "C:"},
          std::pair{"Tutorial.exe", ""}})
        EXPECT_EQ(ExtractFileDir(Path), Folder) << Path;
}

TEST(CompatLayers, AreTheLayerNamesWithoutWindowsMarkers)
{
    for (const auto& [Value, Names] :
         {std::pair{"~ WINXPSP3", "WINXPSP3"}, std::pair{"$ ~ RUNASADMIN  HIGHDPIAWARE", "RUNASADMIN HIGHDPIAWARE"},
          std::pair{"WIN98\t16BITCOLOR", "WIN98 16BITCOLOR"}, std::pair{"# ~", ""}, std::pair{"", ""},
          std::pair{" ~WIN95 ", "~WIN95"}})
        EXPECT_EQ(CompatLayerNames(Value), Names) << Value;
}

TEST(Paths, RecognisesOnlyTheLaunchersCopies)
{
    for (const auto& Name : test::CopyNames)
        EXPECT_TRUE(IsLauncherCopyName(Name)) << Name;
    for (const auto& Name : test::LookAlikeCopyNames)
        EXPECT_FALSE(IsLauncherCopyName(Name)) << Name;
    EXPECT_FALSE(IsLauncherCopyName(""));
}

TEST(Messages, FullStopOnlyAfterCharactersAboveTheDot)
{
    EXPECT_EQ(AddFullStop("File not found"), "File not found.");
    EXPECT_EQ(AddFullStop("I/O error 267"), "I/O error 267.");
    EXPECT_EQ(AddFullStop("Cannot open file C:\\x\\TOL1.EXE"), "Cannot open file C:\\x\\TOL1.EXE.");
    EXPECT_EQ(AddFullStop("'abc' is not a valid integer value"), "'abc' is not a valid integer value.");
    for (const char* Kept : {"Done.", "Stop!", "Say \"x\"", "(x)", "a,", "a-", "trailing ", ""})
        EXPECT_EQ(AddFullStop(Kept), Kept);
    EXPECT_EQ(AddFullStop("caf\xE9"), "caf\xE9.") << "codes above 127 are above the dot";
    EXPECT_EQ(AddFullStop("a/"), "a/.");
}

TEST(Messages, FixedTexts)
{
    EXPECT_EQ(InOutErrorText(2), "File not found");
    EXPECT_EQ(InOutErrorText(3), "Invalid filename");
    EXPECT_EQ(InOutErrorText(4), "Too many open files");
    EXPECT_EQ(InOutErrorText(5), "File access denied");
    EXPECT_EQ(InOutErrorText(267), "I/O error 267");
    EXPECT_STREQ(EFOpenError("C:\\a b\\TOL1.EXE").what(), "Cannot open file C:\\a b\\TOL1.EXE");
    EXPECT_EQ(FormatText("Tutorial file, \"%s\", not found.", "C:\\x%s.exe"),
              "Tutorial file, \"C:\\x%s.exe\", not found.");
}

TEST(Checked, FailsInsteadOfWrapping)
{
    EXPECT_EQ(CheckedMul<std::uint32_t>(0xFFFFu, 0x10000u), 0xFFFF0000u);
    EXPECT_EQ(CheckedNarrow<std::int32_t>(std::int64_t{-5}), -5);
    EXPECT_THROW(CheckedNarrow<std::uint32_t>(-1), ERangeError);
    EXPECT_THROW(CheckedNarrow<std::int32_t>(std::int64_t{1} << 31), ERangeError);
    // The texts the general handler shows.
    for (const auto& [Fail, Text] :
         {std::pair<void (*)(), const char*>{[] { CheckedMul<std::uint32_t>(0x10000u, 0x10000u); }, "Integer overflow"},
          {[] { CheckedNarrow<std::uint8_t>(300); }, "Range check error"}}) {
        try {
            Fail();
            ADD_FAILURE() << "nothing thrown, expected " << Text;
        } catch (const Exception& E) {
            EXPECT_STREQ(E.what(), Text);
        }
    }
}
