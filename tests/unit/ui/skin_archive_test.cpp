// Skin files read from the archive held in memory: case-insensitive names
// with backslashes, the error texts, the 4 MiB refusal, and a second
// archive that changes nothing.
#include <gtest/gtest.h>

#include "tests/unit/ui/ui_test_support.h"
#include "ui/markup/markup.h"

namespace SkinUI {
namespace {

class SkinArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(UseFixtureSkin()); }
};

TEST_F(SkinArchiveTest, SkinFilesReadOrFailWithTheirTexts) {
  struct Case {
    const wchar_t* name;
    bool ok;
    const wchar_t* error;
  };
  const Case cases[] = {
      {L"Layout/Layout.xml", true, L""},
      {L"layout\\LAYOUT.XML", true, L""},
      {L"Exact.xml", true, L""},  // exactly 4 MiB is still read
      {L"Missing.xml", false, L"Could not find ziped file"},
      {L"Empty.xml", false, L"File is empty"},
      {L"Big.xml", false, L"File too large"},
      {L"NotXml.xml", false, L"Expected start tag"},
      {L"", false, L"Could not find ziped file"},
  };
  for (const Case& c : cases) {
    CMarkup markup;
    EXPECT_EQ(markup.ReadSkinFile(c.name), c.ok) << c.name;
    EXPECT_EQ(markup.LastError(), c.error) << c.name;
  }
}

TEST_F(SkinArchiveTest, EntriesAreFoundIgnoringCaseAndBackslashes) {
  struct Case {
    const wchar_t* name;
    bool found;
  };
  const Case cases[] = {
      {L"Image/BtnMin.svg", true},  {L"Image\\BtnMin.svg", true}, {L"image/btnmin.svg", true},
      {L"Image/Empty.png", false},  // an entry of 0 bytes
      {L"Image/Missing.png", false}, {L"Image", false},
  };
  for (const Case& c : cases) EXPECT_EQ(CPaintManagerUI::SkinHasEntry(c.name), c.found) << c.name;
}

TEST_F(SkinArchiveTest, ASecondArchiveInMemoryChangesNothing) {
  static const unsigned char kNotAnArchive[] = "PK but not really";
  CPaintManagerUI::UseSkinZipInMemory(kNotAnArchive, sizeof(kNotAnArchive), L"");
  CMarkup markup;
  EXPECT_TRUE(markup.ReadSkinFile(L"font.xml")) << markup.LastError();
  // Nor does a later archive file: the archive in memory stays.
  CPaintManagerUI::SetResourceZip(L"other.zip", false, L"");
  EXPECT_TRUE(markup.ReadSkinFile(L"font.xml")) << markup.LastError();
}

TEST_F(SkinArchiveTest, MarkupBytesDecodeByEncoding) {
  struct Case {
    const char* what;
    std::string bytes;
    CMarkup::Encoding encoding;
    bool ok;
  };
  const Case cases[] = {
      {"UTF-8 with BOM", "\xEF\xBB\xBF<a v=\"\xE5\xBE\xAE\"/>", CMarkup::kEncodingUtf8, true},
      {"UTF-16 little-endian", std::string("\xFF\xFE<\0a\0/\0>\0", 10), CMarkup::kEncodingUtf16, true},
      {"UTF-16 big-endian", std::string("\xFE\xFF\0<\0a\0/\0>", 10), CMarkup::kEncodingUtf16, true},
      {"UTF-16 without its mark", std::string("<\0a\0/\0>\0", 8), CMarkup::kEncodingUtf16, false},
      {"ANSI", "<a/>", CMarkup::kEncodingAnsi, true},
  };
  for (const Case& c : cases) {
    CMarkup markup;
    EXPECT_EQ(markup.ParseBytes(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size(), c.encoding),
              c.ok)
        << c.what;
  }
  CMarkup markup;
  const std::string utf8 = "\xEF\xBB\xBF<a v=\"\xE5\xBE\xAE\"/>";
  ASSERT_TRUE(markup.ParseBytes(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size(),
                                CMarkup::kEncodingUtf8));
  EXPECT_STREQ(markup.Root().AttributeValue(L"v"), L"\u5FAE");
}

}  // namespace
}  // namespace SkinUI
