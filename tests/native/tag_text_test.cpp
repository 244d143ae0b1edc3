// Tag text as tables: this text gives these runs; these runs in this width
// give these lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/render/tag_text.h"

namespace SkinUI {
namespace {

TagStyle Style(bool bold = false, uint32_t colour = 0, int link = -1) {
  TagStyle style;
  style.bold = bold;
  style.colour = colour;
  style.link = link;
  return style;
}

struct RunCase {
  const wchar_t* text;
  std::vector<TagRun> runs;
};

TEST(TagTextTest, TagsSplitTheTextIntoRunsOfOneStyle) {
  TagStyle italic;
  italic.italic = true;
  TagStyle underline;
  underline.underline = true;
  TagStyle font3;
  font3.fontId = 3;
  const RunCase cases[] = {
      {L"plain", {{L"plain", Style()}}},
      {L"a {b}bold{/b} b", {{L"a ", Style()}, {L"bold", Style(true)}, {L" b", Style()}}},
      {L"a <b>bold</b> b", {{L"a ", Style()}, {L"bold", Style(true)}, {L" b", Style()}}},
      {L"{i}x{/i}{u}y{/u}", {{L"x", italic}, {L"y", underline}}},
      {L"{c #FFFF0000}red{/c}", {{L"red", Style(false, 0xFFFF0000)}}},
      // Colours nest: the inner one ends back in the outer one.
      {L"{c FF0000}r{c 00FF00}g{/c}r{/c}",
       {{L"r", Style(false, 0xFF0000)}, {L"g", Style(false, 0x00FF00)}, {L"r", Style(false, 0xFF0000)}}},
      {L"{f 3}big{/f}", {{L"big", font3}}},
      {L"line{n}next", {{L"line", Style()}, {L"next", Style(), true}}},
      {L"line\nnext", {{L"line", Style()}, {L"next", Style(), true}}},
      {L"a{n}{n}b", {{L"a", Style()}, {L"", Style(), true}, {L"b", Style(), true}}},
      // What is not one of the tags stays text, delimiters and all.
      {L"{x}y", {{L"{x}y", Style()}}},
      {L"1 < 2 and {unclosed", {{L"1 < 2 and {unclosed", Style()}}},
      {L"{/b}{/c}{/a}", {{L"{/c}{/a}", Style()}}},
      {L"see {a https://example.test/licence}the licence{/a}.",
       {{L"see ", Style()}, {L"the licence", Style(false, 0, 0)}, {L".", Style()}}},
  };
  for (const RunCase& c : cases) {
    const TagText parsed = ParseTagText(c.text);
    ASSERT_EQ(parsed.runs.size(), c.runs.size()) << testing::PrintToString(std::wstring(c.text));
    for (size_t i = 0; i < c.runs.size(); ++i) {
      EXPECT_EQ(parsed.runs[i].text, c.runs[i].text) << i;
      EXPECT_TRUE(parsed.runs[i].style == c.runs[i].style) << i;
      EXPECT_EQ(parsed.runs[i].lineBreak, c.runs[i].lineBreak) << i;
    }
  }
}

TEST(TagTextTest, LinksAreNumberedInOrderUpToEight) {
  std::wstring text;
  for (int i = 0; i < 10; ++i) text += L"{a t" + std::to_wstring(i) + L"}L{/a} ";
  const TagText parsed = ParseTagText(text);
  ASSERT_EQ(parsed.linkTargets.size(), 8u);
  EXPECT_EQ(parsed.linkTargets[0], L"t0");
  EXPECT_EQ(parsed.linkTargets[7], L"t7");
  std::vector<int> links;
  for (const TagRun& run : parsed.runs) {
    if (run.text == L"L") links.push_back(run.style.link);
  }
  EXPECT_EQ(links, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, -1, -1}));
  EXPECT_EQ(TagPlainText(ParseTagText(L"{b}a{/b}{n}{a x}b{/a}")), L"a\nb");
}

// Every character 10 wide; bold ones 12; lines 20 high, bold 24.
UiSize FakeMeasure(const std::wstring& text, const TagStyle& style) {
  return {static_cast<int>(text.size()) * (style.bold ? 12 : 10), style.bold ? 24 : 20};
}

struct LineCase {
  const wchar_t* text;
  int width;
  bool wrap;
  std::vector<std::pair<std::wstring, UiRect>> pieces;
  UiSize size;
};

TEST(TagTextTest, LinesBreakAfterSpacesAndAtExplicitBreaks) {
  const LineCase cases[] = {
      {L"one two three", 1000, true, {{L"one two three", {0, 0, 130, 20}}}, {130, 20}},
      // "three" does not fit after "one two ": it opens the next line.
      {L"one two three", 90, true, {{L"one two ", {0, 0, 80, 20}}, {L"three", {0, 20, 50, 40}}}, {80, 40}},
      // A trailing space may hang past the edge.
      {L"abcd efgh", 40, true, {{L"abcd ", {0, 0, 50, 20}}, {L"efgh", {0, 20, 40, 40}}}, {50, 40}},
      // A word wider than the line is cut between characters.
      {L"abcdefgh", 30, true,
       {{L"abc", {0, 0, 30, 20}}, {L"def", {0, 20, 30, 40}}, {L"gh", {0, 40, 20, 60}}}, {30, 60}},
      // Without wrapping only explicit breaks start lines.
      {L"one two{n}three", 30, false, {{L"one two", {0, 0, 70, 20}}, {L"three", {0, 20, 50, 40}}}, {70, 40}},
      // A bold word makes its whole line higher; every piece takes the line's height.
      {L"a {b}B{/b} c{n}d", 1000, true,
       {{L"a ", {0, 0, 20, 24}}, {L"B", {20, 0, 32, 24}}, {L" c", {32, 0, 52, 24}}, {L"d", {0, 24, 10, 44}}},
       {52, 44}},
      // An empty line keeps the height of a space.
      {L"a{n}{n}b", 1000, true, {{L"a", {0, 0, 10, 20}}, {L"b", {0, 40, 10, 60}}}, {10, 60}},
      // CJK text breaks between any two characters.
      {L"\u5b89\u88c5\u8bb8\u53ef", 20, true, {{L"\u5b89\u88c5", {0, 0, 20, 20}}, {L"\u8bb8\u53ef", {0, 20, 20, 40}}},
       {20, 40}},
  };
  for (const LineCase& c : cases) {
    const TagLayout layout = LayOutTagText(ParseTagText(c.text), c.width, c.wrap, &FakeMeasure);
    ASSERT_EQ(layout.pieces.size(), c.pieces.size()) << testing::PrintToString(std::wstring(c.text));
    for (size_t i = 0; i < c.pieces.size(); ++i) {
      EXPECT_EQ(layout.pieces[i].text, c.pieces[i].first) << i;
      const UiRect& r = layout.pieces[i].rect;
      EXPECT_EQ(r, c.pieces[i].second) << i << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    EXPECT_EQ(layout.size, c.size) << layout.size.cx << "x" << layout.size.cy;
  }
}

}  // namespace
}  // namespace SkinUI
