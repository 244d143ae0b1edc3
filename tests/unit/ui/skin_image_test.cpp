// Pictures of the skin: decoding into premultiplied bitmaps, SVG scales,
// the mask colour, DPI variants and their fallback, the caches, and
// pictures that do not decode.
#include <gtest/gtest.h>

#include "tests/unit/ui/ui_test_support.h"
#include "ui/resources/hsl_colour.h"
#include "ui/resources/skin_image_loader.h"

namespace SkinUI {
namespace {

class SkinImageTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(UseFixtureSkin()); }
};

TEST_F(SkinImageTest, PicturesDecodeOrGiveNone) {
  struct Case {
    const wchar_t* name;
    uint32_t mask;
    bool decodes;
    int width, height;
    bool hasAlpha;
  };
  const Case cases[] = {
      {L"Image/Pic.png", 0, true, 4, 2, true},
      {L"image\\QUICKMARK.png", 0, true, 3, 3, false},
      {L"Image/BtnMin.svg", 0, true, 24, 24, false},
      {L"Image/BtnMin@125.svg", 0, true, 30, 30, false},  // a 24 x 24 document at 1.25
      {L"Image/BtnMin@150.svg", 0, true, 36, 36, false},
      {L"Image/Masked.png", 0xFFFF00FF, true, 2, 1, true},
      {L"Image/Broken.png", 0, false, 0, 0, false},
      {L"Image/Bad.svg", 0, false, 0, 0, false},
      {L"Image/Empty.png", 0, false, 0, 0, false},
      {L"Image/Missing.png", 0, false, 0, 0, false},
      {L"Image/BtnMin@0.svg", 0, false, 0, 0, false},
      {L"Image/BtnMin@100000.svg", 0, false, 0, 0, false},  // refused rather than allocated
  };
  for (const Case& c : cases) {
    const std::unique_ptr<ImageEntry> entry = LoadSkinImage(c.name, L"", c.mask, nullptr);
    ASSERT_EQ(entry != nullptr, c.decodes) << c.name;
    if (!entry) continue;
    EXPECT_EQ(entry->width, c.width) << c.name;
    EXPECT_EQ(entry->height, c.height) << c.name;
    EXPECT_EQ(entry->hasAlpha, c.hasAlpha) << c.name;
  }
}

TEST_F(SkinImageTest, PixelsArePremultipliedBgraAndTheMaskClears) {
  const std::unique_ptr<ImageEntry> picture = LoadSkinImage(L"Image/Pic.png", L"", 0, nullptr);
  ASSERT_TRUE(picture);
  const std::vector<uint32_t> pixels = BitmapPixels(picture->bitmap);
  ASSERT_EQ(pixels.size(), 8u);
  EXPECT_EQ(pixels[0], 0xFFFF0000u);  // opaque red
  EXPECT_EQ(pixels[1], 0x80800000u);  // red at alpha 128: B 0, G 0, R 128, A 128
  EXPECT_EQ(pixels[2], 0xFF00FF00u);
  EXPECT_EQ(pixels[4], 0xFFFFFFFFu);  // the second row starts here: top-down

  const std::unique_ptr<ImageEntry> masked = LoadSkinImage(L"Image/Masked.png", L"", 0xFFFF00FF, nullptr);
  ASSERT_TRUE(masked);
  EXPECT_EQ(BitmapPixels(masked->bitmap), (std::vector<uint32_t>{0u, 0xFFFFFFFFu}));
}

TEST_F(SkinImageTest, DpiVariantsAreUsedWhereTheSkinHasThem) {
  CPaintManagerUI manager;
  manager.Dpi().SetDpi(144);
  struct Case {
    const wchar_t* drawString;
    const wchar_t* name;
    int width;
  };
  const Case cases[] = {
      {L"Image/Pic.png", L"Image/Pic@150.png", 6},
      {L"Image/QuickMark.png", L"Image/QuickMark.png", 3},  // no variant: the plain picture
      {L"Image/BtnMin.svg", L"Image/BtnMin@150.svg", 36},
  };
  for (const Case& c : cases) {
    const ImageDrawing& drawing = manager.ObtainDrawing(c.drawString, L"");
    EXPECT_EQ(drawing.name, c.name) << c.drawString;
    const ImageEntry* picture = manager.ObtainImage(drawing.name);
    ASSERT_NE(picture, nullptr) << c.drawString;
    EXPECT_EQ(picture->width, c.width) << c.drawString;
  }
}

TEST_F(SkinImageTest, CachesKeepOnePictureAndDrawingPerName) {
  CPaintManagerUI manager;
  const ImageEntry* first = manager.ObtainImage(L"Image/Pic.png");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(manager.ObtainImage(L"Image/Pic.png"), first);
  EXPECT_NE(manager.ObtainImage(L"Image/Pic@150.png"), first);  // variants are entries of their own
  EXPECT_EQ(&manager.ObtainDrawing(L"Image/Pic.png", L""), &manager.ObtainDrawing(L"Image/Pic.png", L""));
  EXPECT_EQ(manager.ObtainImage(L"Image/Broken.png"), nullptr);

  // A shared picture is found by another window; an own one is not.
  ASSERT_NE(manager.CacheImage(L"Image/QuickMark.png", L"", 0, false, true), nullptr);
  CPaintManagerUI other;
  EXPECT_EQ(other.ObtainImage(L"Image/QuickMark.png"), manager.ObtainImage(L"Image/QuickMark.png"));
}

TEST_F(SkinImageTest, UseHslPicturesFollowTheWindowsAdjustment) {
  CPaintManagerUI manager;
  const ImageEntry* picture = manager.CacheImage(L"Image/Pic.png", L"", 0, true, false);
  ASSERT_NE(picture, nullptr);
  EXPECT_TRUE(picture->useHsl);
  EXPECT_EQ(picture->originalPixels, BitmapPixels(picture->bitmap));

  // Each adjustment starts again from the unadjusted pixels: two turns of
  // the hue give what the second alone gives, not their sum.
  const std::vector<uint32_t> unadjusted = picture->originalPixels;
  manager.SetHslAdjustment({120, 100, 100});
  EXPECT_EQ(BitmapPixels(picture->bitmap)[0], 0xFF00FF00u);  // red turned green
  manager.SetHslAdjustment({-120, 100, 100});
  const std::vector<uint32_t> turned = BitmapPixels(picture->bitmap);
  EXPECT_EQ(turned[0], 0xFF0000FFu);  // blue, from red
  EXPECT_EQ(turned[1], 0x80000080u);  // premultiplied alpha kept
  EXPECT_EQ(turned[4], 0xFFFFFFFFu);  // white has no hue
  EXPECT_EQ(picture->originalPixels, unadjusted);

  // A picture loaded later is adjusted as it is stored; one without the flag is not.
  const ImageEntry* later = manager.CacheImage(L"Image/BtnMin.svg", L"", 0, true, false);
  ASSERT_NE(later, nullptr);
  std::vector<uint32_t> laterExpected(later->originalPixels.size());
  AdjustPremultipliedPixels(later->originalPixels.data(), laterExpected.data(), laterExpected.size(), {-120, 100, 100});
  EXPECT_EQ(BitmapPixels(later->bitmap), laterExpected);
  const ImageEntry* plain = manager.CacheImage(L"Image/QuickMark.png", L"", 0, false, false);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(BitmapPixels(plain->bitmap), BitmapPixels(LoadSkinImage(L"Image/QuickMark.png", L"", 0, nullptr)->bitmap));
}

TEST_F(SkinImageTest, ResourcePicturesNeedANumericName) {
  CPaintManagerUI manager;
  // The fixture archive is resource ZIP 249, not a picture: nothing decodes.
  EXPECT_EQ(manager.CacheImage(L"249", L"ZIP", 0, false, false), nullptr);
  EXPECT_EQ(manager.CacheImage(L"Image/Pic.png", L"PNG", 0, false, false), nullptr);
}

}  // namespace
}  // namespace SkinUI
