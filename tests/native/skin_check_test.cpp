// The skin check over skins held in memory: markup nested far deeper than
// the window builds, includes that multiply, elements no control answers
// to, and the pictures and fonts a markup names.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ui/markup/markup_limits.h"
#include "ui/skin_check/skin_check.h"

namespace nebskin {
namespace {

class MemorySkin : public SkinAccess {
 public:
  std::map<std::wstring, std::wstring> markup;
  std::map<std::wstring, std::string> pictures;

  bool ReadMarkupText(const std::wstring& name, std::wstring& text, std::wstring& error) override {
    const auto found = markup.find(name);
    if (found == markup.end()) {
      error = L"Could not find ziped file";
      return false;
    }
    text = found->second;
    return true;
  }
  bool ReadPictureBytes(const std::wstring& name, std::vector<uint8_t>& bytes) override {
    const auto found = pictures.find(name);
    if (found == pictures.end()) return false;
    bytes.assign(found->second.begin(), found->second.end());
    return true;
  }
  bool IsControlElement(const std::wstring& element) override {
    return element == L"Control" || element == L"VerticalLayout" || element == L"Label";
  }
};

// "FILE:LINE:COLUMN: [warning: ]message" for each problem.
std::vector<std::wstring> Texts(const std::vector<SkinProblem>& problems) {
  std::vector<std::wstring> texts;
  for (const SkinProblem& p : problems) {
    texts.push_back(p.file + L":" + std::to_wstring(p.line) + L":" + std::to_wstring(p.column) + L": " +
                    (p.warning ? L"warning: " : L"") + p.message);
  }
  return texts;
}

std::wstring Nested(int levels) {
  std::wstring text = L"<Window>\n";
  for (int i = 0; i < levels; ++i) text += L"<VerticalLayout>";
  for (int i = 0; i < levels; ++i) text += L"</VerticalLayout>";
  return text + L"</Window>";
}

TEST(SkinCheckTest, MarkupNestedDeeperThanTheWindowBuildsIsReportedWhereItCrosses) {
  MemorySkin skin;
  skin.markup[L"deep.xml"] = Nested(40000);
  skin.markup[L"deepest.xml"] = Nested(SkinUI::kMaxElementDepth);
  skin.markup[L"huge.xml"] = Nested(SkinUI::ExpansionBudget::kMostElements);
  // The element at level 257 starts at column 1 + 256 * 16 of line 2.
  EXPECT_EQ(Texts(CheckSkinMarkup(skin, L"deep.xml")),
            (std::vector<std::wstring>{L"deep.xml:2:4097: <VerticalLayout> is nested 257 elements deep; the window "
                                       L"builds 256 levels and leaves it out with everything inside it"}));
  EXPECT_TRUE(CheckSkinMarkup(skin, L"deepest.xml").empty());
  // With its root, one element more than a window reads.
  EXPECT_EQ(Texts(CheckSkinMarkup(skin, L"huge.xml")),
            (std::vector<std::wstring>{L"huge.xml:1:1: the markup holds more than 50000 elements or 16777216 "
                                       L"characters; the window does not build"}));
}

TEST(SkinCheckTest, IncludesEndAtTheExpansionBudgetWithTheirPlace) {
  MemorySkin skin;
  // Three hundred bytes that include themselves eight times.
  skin.markup[L"self.xml"] =
      L"<Window>\n<Font id=\"1\" name=\"Arial\"/>\n" + std::wstring(200, L' ') +
      L"\n<Include source=\"self.xml\"/><Include source=\"self.xml\"/><Include source=\"self.xml\"/>"
      L"<Include source=\"self.xml\"/><Include source=\"self.xml\"/><Include source=\"self.xml\"/>"
      L"<Include source=\"self.xml\"/><Include source=\"self.xml\"/>\n</Window>";
  const std::vector<std::wstring> texts = Texts(CheckSkinMarkup(skin, L"self.xml"));
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].substr(0, 11), L"self.xml:4:");
  EXPECT_NE(texts[0].find(L": <Include>: the markup and what it includes read more than 50000 elements or 16777216 "
                          L"characters; the window leaves out every file from here on"),
            std::wstring::npos)
      << texts[0];
}

TEST(SkinCheckTest, ProblemsOfTheMarkupAndWhatItIncludes) {
  MemorySkin skin;
  skin.markup[L"fonts.xml"] = L"<Window><Font id=\"1\" name=\"Arial\"/><Mystery/></Window>";
  skin.markup[L"main.xml"] =
      L"<Window>\n"
      L"  <Include source=\"fonts.xml\"/>\n"
      L"  <Include source=\"none.xml\"/>\n"
      L"  <Label font=\"1\" bkimage=\"a.png\"/><Label font=\"2\"/>\n"
      L"  <Gauge text=\"x\"><Control bkimage=\"b.png\"/></Gauge>\n"
      L"  <VerticalLayout><Slider/></VerticalLayout>\n"
      L"</Window>";
  skin.pictures[L"a.png"] = "not a picture";
  // The markup's own problems first, then those of what it includes, and
  // the font ids once every definition is known.
  EXPECT_EQ(Texts(CheckSkinMarkup(skin, L"main.xml")),
            (std::vector<std::wstring>{
                L"main.xml:5:3: warning: <Gauge> is no control the window knows; it is left out with everything "
                L"inside it",
                L"main.xml:6:19: warning: <Slider> is no control the window knows; it is left out with everything "
                L"inside it",
                L"main.xml:4:19: <Label> bkimage: picture \"a.png\" does not decode",
                L"main.xml:5:28: <Control> bkimage: picture \"b.png\" is not in the skin",
                L"fonts.xml:1:36: warning: <Mystery> is no control the window knows; it is left out with everything "
                L"inside it",
                L"main.xml:3:3: <Include> source: the file \"none.xml\" cannot be read: Could not find ziped file",
                L"main.xml:4:43: <Label> font: font id 2 is not defined",
            }));
}

}  // namespace
}  // namespace nebskin
