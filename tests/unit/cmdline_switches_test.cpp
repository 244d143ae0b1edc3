#include "app/startup/cmdline_switches.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using Switches = std::map<std::wstring, std::wstring>;

struct ParseCase {
  const char* name;
  std::wstring commandLine;
  bool found;
  Switches expected;
};

class ParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, YieldsExactlyTheExpectedSwitches) {
  const ParseCase& c = GetParam();
  CCmdLineSwitches switches;
  EXPECT_EQ(switches.Parse(c.commandLine), c.found);
  EXPECT_EQ(switches.All(), c.expected);
}

const ParseCase kParseCases[] = {
    {"Empty", L"", false, {}},
    {"OnlySlashes", L"///", false, {}},
    {"ProgramPathIsANameOfItsOwn", L"C:\\setup.exe", true, {{L"C:\\setup.exe", L""}}},
    {"ProgramPathUpToFirstSpace", L"C:\\My Setup\\setup.exe /InstallSlience true", true,
     {{L"C:\\My", L"Setup\\setup.exe"}, {L"InstallSlience", L"true"}}},
    {"ValueWithSpacesAndQuotes", L"setup.exe /InstallPath \"D:\\My Apps\" /InstallSlience true", true,
     {{L"setup.exe", L""}, {L"InstallPath", L"D:\\My Apps"}, {L"InstallSlience", L"true"}}},
    {"SwitchWithoutValue", L"x /InstallSlience", true, {{L"x", L""}, {L"InstallSlience", L""}}},
    {"SurroundingBlanksTrimmed", L"x /InstallPath  D:\\Apps  ", true,
     {{L"x", L""}, {L"InstallPath", L"D:\\Apps"}}},
    {"ControlCodesUpTo29Trimmed", L"x /InstallPath \t\r\n\x1d D:\\Apps\x01\x1d", true,
     {{L"x", L""}, {L"InstallPath", L"D:\\Apps"}}},
    {"Codes30And31Kept", L"x /InstallPath \x1e" L"D:\\Apps\x1f", true,
     {{L"x", L""}, {L"InstallPath", L"\x1e" L"D:\\Apps\x1f"}}},
    {"OnlyOpeningQuoteKept", L"x /InstallPath \"D:\\Apps", true,
     {{L"x", L""}, {L"InstallPath", L"\"D:\\Apps"}}},
    {"OneQuoteAloneKept", L"x /InstallPath \"", true, {{L"x", L""}, {L"InstallPath", L"\""}}},
    {"OnlyOnePairOfQuotesRemoved", L"x /InstallPath \"\"D\"\"", true,
     {{L"x", L""}, {L"InstallPath", L"\"D\""}}},
    {"TrimmedBeforeUnquoting", L"x /InstallPath  \"D:\\Apps\"  ", true,
     {{L"x", L""}, {L"InstallPath", L"D:\\Apps"}}},
    {"QuotesInsideKeepBlanks", L"x /InstallPath \" D:\\Apps \"", true,
     {{L"x", L""}, {L"InstallPath", L" D:\\Apps "}}},
    {"SlashInValueCutsIt", L"x /InstallPath D:/Apps/X", true,
     {{L"x", L""}, {L"InstallPath", L"D:"}, {L"Apps", L""}, {L"X", L""}}},
    {"RepeatedSwitchLastWins", L"x /InstallPath A /InstallPath B", true,
     {{L"x", L""}, {L"InstallPath", L"B"}}},
    {"DoubleSlashSameAsOne", L"x //InstallPath A/", true, {{L"x", L""}, {L"InstallPath", L"A"}}},
    {"NamesAreCaseSensitive", L"x /installpath A /InstallPath B", true,
     {{L"x", L""}, {L"installpath", L"A"}, {L"InstallPath", L"B"}}},
    {"NameIsNotTrimmed", L"x /\tInstallPath A", true, {{L"x", L""}, {L"\tInstallPath", L"A"}}},
    {"LeadingBlankGivesEmptyName", L"/ A", true, {{L"", L"A"}}},
};

INSTANTIATE_TEST_SUITE_P(CommandLines, ParseTest, testing::ValuesIn(kParseCases),
                         [](const testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

TEST(GetSwitchTest, AbsentNameGivesFalseAndEmptyValue) {
  CCmdLineSwitches switches;
  switches.Parse(L"x /InstallPath D:\\Apps");
  std::wstring value = L"stale";
  EXPECT_FALSE(switches.GetSwitch(L"installpath", value));
  EXPECT_EQ(value, L"");
  EXPECT_TRUE(switches.GetSwitch(L"InstallPath", value));
  EXPECT_EQ(value, L"D:\\Apps");
}

struct NumberCase {
  const wchar_t* text;
  unsigned long asUnsigned;
  long asSigned;
};

class NumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberTest, ReadsLikeTheCLibrary) {
  EXPECT_EQ(ReadUnsignedDecimal(GetParam().text), GetParam().asUnsigned) << GetParam().text;
  EXPECT_EQ(ReadSignedDecimal(GetParam().text), GetParam().asSigned) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Numbers, NumberTest,
                         testing::Values(NumberCase{L"", 0, 0}, NumberCase{L"abc", 0, 0},
                                         NumberCase{L"1", 1, 1}, NumberCase{L"  42", 42, 42},
                                         NumberCase{L"+7", 7, 7}, NumberCase{L"-1", 4294967295ul, -1},
                                         NumberCase{L"12ab", 12, 12}, NumberCase{L"0x10", 0, 0},
                                         NumberCase{L"4294967295", 4294967295ul, 2147483647},
                                         NumberCase{L"99999999999", 4294967295ul, 2147483647},
                                         NumberCase{L"-99999999999", 4294967295ul, -2147483647 - 1},
                                         NumberCase{L"\t 1 2", 1, 1}));

}  // namespace
