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
    for (const auto& [Text, Value] :
         {std::pair{"-2147483648", INT32_MIN}, std::pair{"2147483647", INT32_MAX}, std::pair{"$FFFFFFFF", -1},
          std::pair{"0x80000000", INT32_MIN}, std::pair{"-0", 0}, std::pair{"0", 0}})
        EXPECT_EQ(TryStrToInt(Text), Value) << Text;
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
    for (const auto& [Name, Field] : {std::pair<std::string, std::string>{"qeynos2x", {"qeynos2x\0\0\0\0", 12}},
                                      {"abcdefghijkl", "abcdefghijkl"},
                                      {"abcdefghijklmno", "abcdefghijkl"},
                                      {"", std::string(12, '\0')},
                                      {"\xE9t\xE9", {"\xE9t\xE9\0\0\0\0\0\0\0\0\0", 12}}})
        EXPECT_EQ(std::string(StringToZoneName(Name).data(), 12), Field) << Name;
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
    // Added after any character above the dot, codes above 127 among them.
    for (const std::string Text : {"File not found", "I/O error 267", "Cannot open file C:\\x\\TOL1.EXE",
                                   "'abc' is not a valid integer value", "caf\xE9", "a/"})
        EXPECT_EQ(AddFullStop(Text), Text + ".");
    for (const char* Kept : {"Done.", "Stop!", "Say \"x\"", "(x)", "a,", "a-", "trailing ", ""})
        EXPECT_EQ(AddFullStop(Kept), Kept);
}

TEST(Messages, FixedTexts)
{
    for (const auto& [Code, Text] :
         {std::pair{2u, "File not found"}, std::pair{3u, "Invalid filename"}, std::pair{4u, "Too many open files"},
          std::pair{5u, "File access denied"}, std::pair{267u, "I/O error 267"}})
        EXPECT_EQ(InOutErrorText(Code), Text) << Code;
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
