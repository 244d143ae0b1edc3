// The font table: definitions by id, the fallbacks of FontById, and fonts
// made again at another scale.
#include <gtest/gtest.h>

#include "tests/unit/ui/ui_test_support.h"

namespace SkinUI {
namespace {

LOGFONTW LogicalFontOf(HFONT font) {
  LOGFONTW logical{};
  GetObjectW(font, sizeof(logical), &logical);
  return logical;
}

TEST(SkinFontTest, DefiningAnIdTwiceKeepsOnlyTheSecondFont) {
  CPaintManagerUI manager;
  const HFONT first = manager.DefineFont(5, L"Tahoma", 14, true, false, false, false);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(manager.FontById(5), first);
  const HFONT second = manager.DefineFont(5, L"Tahoma", 20, false, true, false, false);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(manager.FontById(5), second);
  EXPECT_EQ(GetObjectType(first), 0u);  // the first handle was deleted
  const LOGFONTW logical = LogicalFontOf(second);
  EXPECT_EQ(logical.lfHeight, -20);
  EXPECT_TRUE(logical.lfUnderline);
  EXPECT_EQ(logical.lfWeight, FW_NORMAL);
  EXPECT_EQ(logical.lfCharSet, DEFAULT_CHARSET);
}

TEST(SkinFontTest, FontByIdFallsBackToTheDefaultFonts) {
  CPaintManagerUI manager;
  const HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(manager.FontById(3), stock);
  EXPECT_EQ(manager.FontById(-1), stock);
  manager.DefineDefaultFont(L"Tahoma", 12, false, false, false, false);
  const HFONT defaultFont = manager.FontById(-1);
  EXPECT_NE(defaultFont, stock);
  EXPECT_EQ(manager.FontById(3), defaultFont);
  const HFONT shared = manager.DefineFont(1001, L"Tahoma", 12, false, false, false, true);
  CPaintManagerUI other;
  EXPECT_EQ(other.FontById(1001), shared);  // shared fonts serve every window
  EXPECT_EQ(LogicalFontOf(manager.FontById(-1)).lfHeight, -12);
}

TEST(SkinFontTest, FacesAreCutToWhatALogicalFontHolds) {
  CPaintManagerUI manager;
  const std::wstring longFace(40, L'x');
  ASSERT_NE(manager.DefineFont(2, longFace, 12, false, false, false, false), nullptr);
  EXPECT_EQ(manager.FontInfoById(2)->face, longFace.substr(0, 31));
}

TEST(SkinFontTest, FontsAreScaledWhenMadeAndMadeAgainAtANewScale) {
  HiddenWindow window;
  CPaintManagerUI manager;
  manager.BindWindow(window.Get(), L"fonts");
  manager.Dpi().SetDpi(120);
  manager.DefineFont(5, L"Tahoma", 14, true, false, false, false);
  EXPECT_EQ(LogicalFontOf(manager.FontById(5)).lfHeight, -18);  // 17.5 rounds away from zero
  EXPECT_GT(manager.FontInfoById(5)->metrics.tmHeight, 0);       // metrics through the window's DC

  manager.Dpi().SetDpi(192);
  manager.RecreateFonts();
  const LOGFONTW logical = LogicalFontOf(manager.FontById(5));
  EXPECT_EQ(logical.lfHeight, -28);
  EXPECT_EQ(logical.lfWeight, FW_BOLD);
  EXPECT_EQ(logical.lfQuality, CLEARTYPE_QUALITY);
}

}  // namespace
}  // namespace SkinUI
