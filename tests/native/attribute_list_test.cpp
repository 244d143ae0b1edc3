// Attribute lists: quoting, the one skipped space, the map order that
// decides the order of application, and quiet stops at malformed pairs.
#include <gtest/gtest.h>

#include <vector>

#include "ui/markup/attribute_list.h"

namespace SkinUI {
namespace {

using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;

Pairs Parse(const wchar_t* text) {
  const AttributeMap map = ParseAttributeList(text);
  return Pairs(map.begin(), map.end());
}

TEST(AttributeListTest, PairsAreReadInTheirFormsAndOrderedByKey) {
  struct Case {
    const char* name;
    const wchar_t* text;
    Pairs pairs;
  };
  const Case cases[] = {
      {"quoted values", L"file='a.png' dest='0,0,8,8'", {{L"dest", L"0,0,8,8"}, {L"file", L"a.png"}}},
      {"double quotes", L"text=\"a b\" width=\"3\"", {{L"text", L"a b"}, {L"width", L"3"}}},
      {"unquoted value runs to the space", L"width=3 height=4", {{L"height", L"4"}, {L"width", L"3"}}},
      {"&quot; becomes a quote", L"text=&quot;x y&quot;", {{L"text", L"x y"}}},
      {"quoted key", L"'bk color'='#FF000000'", {{L"bk color", L"#FF000000"}}},
      {"later duplicates win", L"width='1' width='2'", {{L"width", L"2"}}},
      {"mixed quotes close with their own", L"text=\"it's\"", {{L"text", L"it's"}}},
      {"empty text", L"", {}},
      {"bare image name is no pair", L"Image/BkViewInit.png", {}},
      {"stop at the unclosed value", L"a='1' b='2", {{L"a", L"1"}}},
      {"stop at a key without =", L"a='1' b", {{L"a", L"1"}}},
      {"a second space belongs to the next key", L"a='1'  b='2'", {{L" b", L"2"}, {L"a", L"1"}}},
      {"quoted key without = stops", L"'a' b='2'", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.text), c.pairs) << c.name;
}

TEST(AttributeListTest, WidthThenHeightIsAppliedHeightFirst) {
  const AttributeMap map = ParseAttributeList(L"width='10' height='20'");
  ASSERT_EQ(map.size(), 2u);
  EXPECT_EQ(map.begin()->first, L"height");
}

}  // namespace
}  // namespace SkinUI
