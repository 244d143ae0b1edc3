// Skin files without an archive in memory: plain files under the skin
// folder, and archive files on disk (readable, damaged, corrupted).
#include <gtest/gtest.h>

#include "tests/unit/ui/ui_test_support.h"
#include "ui/markup/markup.h"
#include "ui/resources/skin_image_loader.h"

namespace SkinUI {
namespace {

const std::wstring kFixture = NEB_UI_FIXTURE_DIR;

class SkinFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CPaintManagerUI::SetResourcePath(kFixture + L"folder/");
    CPaintManagerUI::SetResourceZip(L"", false, L"");
  }
};

TEST_F(SkinFolderTest, PlainFilesReadOrFailWithTheirTexts) {
  struct Case {
    const wchar_t* name;
    bool ok;
    const wchar_t* error;
  };
  const Case cases[] = {
      {L"Layout/Layout.xml", true, L""},
      {L"Layout\\Layout.xml", true, L""},
      {L"Missing.xml", false, L"Error opening file"},
      {L"Empty.xml", false, L"File is empty"},
      {L"Big.xml", false, L"File too large"},
      {L"NotXml.xml", false, L"Expected start tag"},
  };
  for (const Case& c : cases) {
    CMarkup markup;
    EXPECT_EQ(markup.ReadSkinFile(c.name), c.ok) << c.name;
    EXPECT_EQ(markup.LastError(), c.error) << c.name;
  }
}

TEST_F(SkinFolderTest, PicturesComeFromTheFolderOrFromTheirOwnPath) {
  EXPECT_TRUE(LoadSkinImage(L"Image/QuickMark.png", L"", 0, nullptr));
  // A name that is not under the folder is tried as a path of its own.
  EXPECT_TRUE(LoadSkinImage(kFixture + L"folder/Image/Pic.png", L"", 0, nullptr));
  EXPECT_FALSE(LoadSkinImage(L"Image/Missing.png", L"", 0, nullptr));
}

TEST_F(SkinFolderTest, DpiVariantsAreLookedUpAsFiles) {
  CPaintManagerUI manager;
  manager.Dpi().SetDpi(144);
  EXPECT_EQ(manager.ObtainDrawing(L"Image/Pic.png", L"").name, L"Image/Pic@150.png");
  EXPECT_EQ(manager.ObtainDrawing(L"Image/QuickMark.png", L"").name, L"Image/QuickMark.png");
}

TEST_F(SkinFolderTest, ArchiveFilesOnDisk) {
  CPaintManagerUI::SetResourcePath(kFixture);
  struct Case {
    const wchar_t* archive;
    bool cached;
    bool ok;
    const wchar_t* error;
  };
  const Case cases[] = {
      {L"skin.zip", false, true, L""},
      {L"skin.zip", true, true, L""},
      {L"missing.zip", false, false, L"Error opening zip file"},
      {L"damaged.zip", false, false, L"Error opening zip file"},
      {L"corrupt.zip", false, false, L"Could not unzip file"},
  };
  for (const Case& c : cases) {
    CPaintManagerUI::SetResourceZip(c.archive, c.cached, L"");
    CMarkup markup;
    EXPECT_EQ(markup.ReadSkinFile(L"Layout/Layout.xml"), c.ok) << c.archive;
    EXPECT_EQ(markup.LastError(), c.error) << c.archive;
  }
  CPaintManagerUI::SetResourceZip(L"skin.zip", false, L"");
  EXPECT_TRUE(CPaintManagerUI::SkinHasEntry(L"image\\btnmin.svg"));
  EXPECT_TRUE(LoadSkinImage(L"Image/BtnMin@125.svg", L"", 0, nullptr));
}

}  // namespace
}  // namespace SkinUI
