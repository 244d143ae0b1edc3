#include "product/uninstall/uninstall_options.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> SplitBySystem(const std::wstring& commandLine) {
  int count = 0;
  wchar_t** split = CommandLineToArgvW(commandLine.c_str(), &count);
  std::vector<std::wstring> arguments(split, split + count);
  LocalFree(split);
  return arguments;
}

TEST(UninstallOptions, Switches) {
  const UninstallOptions none = ParseUninstallOptions({});
  EXPECT_FALSE(none.silent);
  EXPECT_FALSE(none.clearUserData);
  EXPECT_FALSE(none.reason.has_value());
  EXPECT_FALSE(none.IsTemporaryCopy());

  const UninstallOptions given = ParseUninstallOptions(
      {L"/s", L"/CLEARUSERDATA", L"/Reason:3,7", L"/contact:a:b", L"/from:C:\\Apps\\X", L"S", L"/x"});
  EXPECT_TRUE(given.silent);
  EXPECT_TRUE(given.clearUserData);
  ASSERT_TRUE(given.reason.has_value());
  EXPECT_EQ(given.reason->ids, L"3,7");
  EXPECT_EQ(given.reason->suggestion, L"");
  EXPECT_EQ(given.reason->contact, L"a:b");
  EXPECT_EQ(given.installFolder, L"C:\\Apps\\X");
  EXPECT_TRUE(given.IsTemporaryCopy());
}

TEST(UninstallOptions, SwitchesNeedTheirOwnForm) {
  // A flag with a value, or a value switch without one, is not that switch.
  const UninstallOptions options = ParseUninstallOptions({L"/S:1", L"/reason", L"/Silent", L"/from"});
  EXPECT_FALSE(options.silent);
  EXPECT_FALSE(options.reason.has_value());
  EXPECT_FALSE(options.IsTemporaryCopy());
}

TEST(UninstallOptions, QuotedArgumentsSurviveTheSystemsSplitting) {
  const std::vector<std::wstring> cases = {
      L"plain", L"with blank", L"C:\\", L"C:\\Program Files\\Orrinthwake", L"say \"hi\"", L"end\\\\", L"a\\\"b", L""};
  for (const std::wstring& argument : cases) {
    const std::vector<std::wstring> split = SplitBySystem(L"prog.exe " + QuoteArgument(argument) + L" next");
    ASSERT_EQ(split.size(), 3u) << argument.c_str();
    EXPECT_EQ(split[1], argument);
    EXPECT_EQ(split[2], L"next");
  }
}

TEST(UninstallOptions, TheCopysSwitchNamesTheFolder) {
  const std::vector<std::wstring> split =
      SplitBySystem(L"copy.exe " + TemporaryCopySwitches(L"C:\\") + L" /S");
  const UninstallOptions options = ParseUninstallOptions({split.begin() + 1, split.end()});
  EXPECT_EQ(options.installFolder, L"C:\\");
  EXPECT_TRUE(options.silent);
}

}  // namespace
