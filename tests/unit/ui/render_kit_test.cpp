// The render kit drawing into a 32-bit DIB, checked pixel by pixel:
// colours with alpha, image strings (nine-grid, source strips, negative
// destinations, masks, fades, tiles) and text on the GDI and GDI+ paths.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/unit/ui/ui_test_support.h"
#include "ui/render/render_kit.h"

namespace SkinUI {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

// Channels within 2 of each other: blending rounds differently on the way.
::testing::AssertionResult Near(uint32_t actual, uint32_t expected) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int a = static_cast<int>((actual >> shift) & 0xFF), e = static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(a - e) > 2) {
      return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
    }
  }
  return ::testing::AssertionSuccess();
}

class RenderKitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartGdiplusOnce();
    ASSERT_TRUE(UseFixtureSkin());
  }

  bool DrawImage(const RECT& item, const std::wstring& image) {
    const RECT paint = {0, 0, 400, 100};
    return CRenderKit::DrawImageString({canvas_.Dc(), &manager_}, item, paint, image);
  }

  DibCanvas canvas_{400, 100};
  CPaintManagerUI manager_;
};

TEST_F(RenderKitTest, ColoursBlendByTheirAlpha) {
  CRenderKit::DrawColor(canvas_.Dc(), {0, 0, 10, 10}, 0x80FF0000);
  CRenderKit::DrawColor(canvas_.Dc(), {10, 0, 20, 10}, 0xFFFF0000);
  CRenderKit::DrawColor(canvas_.Dc(), {20, 0, 30, 10}, 0x00FF0000);
  EXPECT_TRUE(Near(canvas_.Rgb(5, 5), 0xFF7F7F));
  EXPECT_EQ(canvas_.Rgb(15, 5), kRed);
  EXPECT_EQ(canvas_.Rgb(25, 5), kWhite);  // alpha 0 draws nothing
  EXPECT_EQ(canvas_.Rgb(10, 10), kWhite);  // the fill ends at its rectangle
  EXPECT_TRUE(Near(canvas_.Rgb(9, 9), 0xFF7F7F));
}

TEST_F(RenderKitTest, RoundedColoursLeaveTheCornersOut) {
  CRenderKit::DrawColor(canvas_.Dc(), {0, 0, 40, 40}, 0xFFFF0000, 10, 10);
  EXPECT_EQ(canvas_.Rgb(0, 0), kWhite);
  EXPECT_EQ(canvas_.Rgb(20, 20), kRed);
  EXPECT_EQ(canvas_.Rgb(20, 1), kRed);
}

TEST_F(RenderKitTest, GradientsRunFromTheFirstColourToTheSecond) {
  CRenderKit::DrawGradient(canvas_.Dc(), {0, 0, 16, 32}, 0xFFFF0000, 0xFF0000FF, true, 16);
  EXPECT_EQ(canvas_.Rgb(5, 0), kRed);
  EXPECT_EQ(canvas_.Rgb(5, 31), kBlue);
  CRenderKit::DrawGradient(canvas_.Dc(), {100, 0, 132, 10}, 0xFFFF0000, 0xFF0000FF, false, 16);
  EXPECT_EQ(canvas_.Rgb(100, 5), kRed);
  EXPECT_EQ(canvas_.Rgb(131, 5), kBlue);
}

TEST_F(RenderKitTest, NineGridKeepsCornersAndStretchesTheMiddle) {
  // Grid.png: 12 x 12, 4-pixel corners red, edges green, middle blue.
  ASSERT_TRUE(DrawImage({10, 10, 50, 50}, L"file='Image/Grid.png' corner='4,4,4,4'"));
  struct Point {
    int x, y;
    uint32_t rgb;
  };
  const Point points[] = {
      {10, 10, kRed}, {13, 13, kRed}, {14, 14, kBlue}, {30, 11, kGreen}, {11, 30, kGreen},
      {30, 30, kBlue}, {47, 30, kGreen}, {49, 49, kRed}, {46, 46, kRed}, {50, 50, kWhite}, {9, 9, kWhite},
  };
  for (const Point& p : points) EXPECT_EQ(canvas_.Rgb(p.x, p.y), p.rgb) << p.x << "," << p.y;

  canvas_.Fill(0xFFFFFFFF);
  ASSERT_TRUE(DrawImage({10, 10, 50, 50}, L"file='Image/Grid.png' corner='4,4,4,4' hole='true'"));
  EXPECT_EQ(canvas_.Rgb(30, 30), kWhite);
  EXPECT_EQ(canvas_.Rgb(11, 11), kRed);
}

TEST_F(RenderKitTest, SourceRectanglesPickOneStateOfAStrip) {
  // Strip.png: 200 x 30, states red, green, blue, yellow of 50 pixels each.
  const wchar_t* const strings[] = {L"file='Image/Strip.png' source='0,0,50,30'",
                                    L"file='Image/Strip.png' source='50,0,100,30'",
                                    L"file='Image/Strip.png' source='100,0,150,30'",
                                    L"file='Image/Strip.png' source='150,0,200,30'"};
  const uint32_t colours[] = {kRed, kGreen, kBlue, 0xFFFF00};
  for (int i = 0; i < 4; ++i) {
    canvas_.Fill(0xFFFFFFFF);
    ASSERT_TRUE(DrawImage({0, 0, 50, 30}, strings[i]));
    EXPECT_EQ(canvas_.Rgb(0, 0), colours[i]) << i;
    EXPECT_EQ(canvas_.Rgb(49, 29), colours[i]) << i;
  }
  // A source wider than the picture is clipped to it: the whole strip.
  canvas_.Fill(0xFFFFFFFF);
  ASSERT_TRUE(DrawImage({0, 0, 200, 30}, L"file='Image/Strip.png' source='0,0,300,30'"));
  EXPECT_EQ(canvas_.Rgb(199, 10), 0xFFFF00u);
}

TEST_F(RenderKitTest, NegativeDestinationsAnchorToTheRightEdge) {
  ASSERT_TRUE(DrawImage({100, 0, 300, 20}, L"file='Image/QuickMark.png' dest='-20,0,-4,16'"));
  EXPECT_EQ(canvas_.Rgb(280, 0), kBlue);
  EXPECT_EQ(canvas_.Rgb(295, 15), kBlue);
  EXPECT_EQ(canvas_.Rgb(296, 5), kWhite);
  EXPECT_EQ(canvas_.Rgb(279, 5), kWhite);
  EXPECT_EQ(canvas_.Rgb(290, 16), kWhite);
}

TEST_F(RenderKitTest, MaskedAndTranslucentPixelsBlend) {
  canvas_.Fill(0xFF808080);
  // Masked.png: a magenta pixel (the mask) and a white one, stretched to 20 x 10.
  ASSERT_TRUE(DrawImage({0, 0, 20, 10}, L"file='Image/Masked.png' mask='#FFFF00FF'"));
  EXPECT_EQ(canvas_.Rgb(2, 5), 0x808080u);
  EXPECT_EQ(canvas_.Rgb(17, 5), kWhite);
  // Pic.png's second pixel is red at alpha 128; its first row is 4 pixels.
  canvas_.Fill(0xFFFFFFFF);
  ASSERT_TRUE(DrawImage({0, 0, 4, 2}, L"Image/Pic.png"));
  EXPECT_EQ(canvas_.Rgb(0, 0), kRed);
  EXPECT_TRUE(Near(canvas_.Rgb(1, 0), 0xFF7F7F));
  // A fade halves an opaque picture.
  ASSERT_TRUE(DrawImage({100, 0, 110, 10}, L"file='Image/QuickMark.png' fade='128'"));
  EXPECT_TRUE(Near(canvas_.Rgb(105, 5), 0x7F7FFF));
}

TEST_F(RenderKitTest, TiledMiddlesRepeatTheSource) {
  // The strip's first 100 columns tiled across 250 pixels: red, green, red, green, red.
  ASSERT_TRUE(DrawImage({0, 0, 250, 30}, L"file='Image/Strip.png' source='0,0,100,30' xtiled='true'"));
  EXPECT_EQ(canvas_.Rgb(10, 5), kRed);
  EXPECT_EQ(canvas_.Rgb(60, 5), kGreen);
  EXPECT_EQ(canvas_.Rgb(110, 5), kRed);
  EXPECT_EQ(canvas_.Rgb(160, 5), kGreen);
  EXPECT_EQ(canvas_.Rgb(240, 5), kRed);
}

TEST_F(RenderKitTest, MissingPicturesAndMissedRectanglesDrawNothing) {
  EXPECT_FALSE(DrawImage({0, 0, 50, 50}, L"Image/Missing.png"));
  EXPECT_FALSE(DrawImage({0, 0, 50, 50}, L"Image/Broken.png"));
  EXPECT_FALSE(DrawImage({0, 0, 50, 50}, L"Image/Bad.svg"));
  EXPECT_FALSE(DrawImage({0, 0, 50, 50}, L""));
  const RECT item = {0, 0, 50, 50}, paint = {100, 0, 200, 50};
  EXPECT_FALSE(CRenderKit::DrawImageString({canvas_.Dc(), &manager_}, item, paint, L"Image/QuickMark.png"));
  const RECT empty = canvas_.InkBounds();
  EXPECT_TRUE(IsRectEmpty(&empty));
}

TEST_F(RenderKitTest, SvgPicturesDrawAtTheirScale) {
  manager_.Dpi().SetDpi(120);
  ASSERT_TRUE(DrawImage({0, 0, 100, 100}, L"file='Image/BtnMin.svg' dest='0,0,24,24'"));
  const RECT ink = canvas_.InkBounds();
  EXPECT_EQ(ink.right, 30);  // 24 at 125 %
  EXPECT_EQ(canvas_.Rgb(10, 10), 0x2F6BFFu);
}

class TextPathTest : public RenderKitTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    RenderKitTest::SetUp();
    manager_.ApplyWindowAttribute(L"gdiplustext", GetParam() ? L"true" : L"false");
  }
  RECT Measure(const std::wstring& text, UINT format) {
    RECT rect = {0, 0, 400, 100};
    CRenderKit::DrawTextUI({canvas_.Dc(), &manager_}, rect, text, 0xFF000000, -1, format | DT_CALCRECT);
    return rect;
  }
};

TEST_P(TextPathTest, TextLandsInItsRectangle) {
  RECT rect = {20, 30, 220, 60};
  CRenderKit::DrawTextUI({canvas_.Dc(), &manager_}, rect, L"Hello, world", 0xFF000000, -1,
                         DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  const RECT ink = canvas_.InkBounds();
  ASSERT_FALSE(IsRectEmpty(&ink));
  EXPECT_GE(ink.left, 20);
  EXPECT_GE(ink.top, 30);
  EXPECT_LE(ink.right, 220);
  EXPECT_LE(ink.bottom, 60);
  // Centred: about as much room on the left as on the right.
  EXPECT_LE(std::abs((ink.left - 20) - (220 - ink.right)), 6);
}

TEST_P(TextPathTest, MeasuringGivesTheSizeAndALineBreakAddsALine) {
  const RECT one = Measure(L"a", 0);
  const RECT two = Measure(L"a\nb", 0);
  EXPECT_GT(one.right - one.left, 0);
  EXPECT_GT(one.bottom - one.top, 0);
  EXPECT_GE(two.bottom - two.top, 2 * (one.bottom - one.top) - 3);
  EXPECT_EQ(canvas_.InkBounds().right, 0);  // measuring draws nothing
}

INSTANTIATE_TEST_SUITE_P(GdiAndGdiplus, TextPathTest, ::testing::Bool());

TEST_F(RenderKitTest, IconCharactersDrawAsTheirCodePoint) {
  RECT rect = {0, 0, 100, 40};
  CRenderKit::DrawTextUI({canvas_.Dc(), &manager_}, rect, L"&#x41; ", 0xFF000000, -1, DT_SINGLELINE);
  const RECT icon = canvas_.InkBounds();
  canvas_.Fill(0xFFFFFFFF);
  rect = {0, 0, 100, 40};
  CRenderKit::DrawTextUI({canvas_.Dc(), &manager_}, rect, L"A", 0xFF000000, -1, DT_SINGLELINE);
  const RECT plain = canvas_.InkBounds();
  EXPECT_FALSE(IsRectEmpty(&plain));
  EXPECT_TRUE(EqualRect(&icon, &plain));
}

}  // namespace
}  // namespace SkinUI
