// The path box's "$name$" expansion: the global named between the first
// pair of "$" replaces every "$name$", the product folder is appended once,
// and a text without a pair, or naming an empty global, stays as it was.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "app/dialog/path_box_text.h"

namespace {

TEST(PathBoxTextTest, TheNamedGlobalReplacesThePlaceholder) {
  const std::map<std::wstring, std::wstring> globals = {
      {L"global_install_path", L"C:\\Program Files"},
      {L"drive", L"D:"},
      {L"ready", L"E:\\Apps\\Lumetrica"},
  };
  const GlobalTextLookup lookup = [&globals](const std::wstring& name) {
    const auto found = globals.find(name);
    return found == globals.end() ? std::wstring() : found->second;
  };
  struct Case {
    const wchar_t* text;
    std::optional<std::wstring> shown;
  };
  const Case cases[] = {
      {L"$global_install_path$", L"C:\\Program Files\\Lumetrica"},
      {L"$drive$\\Apps", L"D:\\Apps\\Lumetrica"},
      {L"$drive$\\$drive$", L"D:\\D:\\Lumetrica"},                  // every occurrence of the pair
      {L"$ready$", L"E:\\Apps\\Lumetrica"},                          // ends in the folder: not twice
      {L"$drive$\\Lumetrica", L"D:\\Lumetrica"},
      {L"$drive$\\lumetrica", L"D:\\lumetrica\\Lumetrica"},          // case counts
      {L"$drive$\\$unknown$", L"D:\\$unknown$\\Lumetrica"},          // only the first pair
      {L"C:\\Apps", std::nullopt},                                   // no placeholder
      {L"$drive", std::nullopt},                                     // no closing "$"
      {L"$unknown$\\Apps", std::nullopt},                            // an empty global
      {L"$$", std::nullopt},                                         // the global of no name
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandPathBoxText(c.text, lookup, L"\\Lumetrica"), c.shown) << c.text;
}

}  // namespace
