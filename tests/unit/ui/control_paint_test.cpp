// The painting steps of the control base into a 32-bit DIB: background
// colours (translucent ones over the whole item), gradients, images over
// colours, borders, rounded clipping and the stop control.
#include <gtest/gtest.h>

#include "tests/unit/ui/ui_test_support.h"

namespace SkinUI {
namespace {

class ControlPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartGdiplusOnce();
    ASSERT_TRUE(UseFixtureSkin());
    control_.AttachManager(&manager_, nullptr, false);
    control_.PlaceAt({0, 0, 100, 20}, false);
  }

  bool Paint(const RECT& dirty) { return control_.PaintControl(canvas_.Dc(), dirty, nullptr); }

  DibCanvas canvas_{120, 40};
  CPaintManagerUI manager_;
  CControlUI control_;
};

TEST_F(ControlPaintTest, TranslucentBackgroundsFillTheWholeItem) {
  control_.ApplyAttribute(L"bkcolor", L"#80FF0000");
  ASSERT_TRUE(Paint({0, 0, 50, 20}));
  EXPECT_NE(canvas_.Rgb(75, 10), 0xFFFFFFu);  // outside the dirty part, inside the item
  EXPECT_EQ(canvas_.Rgb(105, 10), 0xFFFFFFu);
}

TEST_F(ControlPaintTest, OpaqueBackgroundsFillOnlyTheDirtyPart) {
  control_.ApplyAttribute(L"bkcolor", L"#FFFF0000");
  ASSERT_TRUE(Paint({0, 0, 50, 20}));
  EXPECT_EQ(canvas_.Rgb(25, 10), 0xFF0000u);
  EXPECT_EQ(canvas_.Rgb(75, 10), 0xFFFFFFu);
}

TEST_F(ControlPaintTest, GradientsFollowTheirDirection) {
  control_.ApplyAttribute(L"bkcolor", L"#FFFF0000");
  control_.ApplyAttribute(L"bkcolor2", L"#FF0000FF");
  ASSERT_TRUE(Paint({0, 0, 120, 40}));
  EXPECT_EQ(canvas_.Rgb(50, 0), 0xFF0000u);
  EXPECT_EQ(canvas_.Rgb(50, 19), 0x0000FFu);
  control_.ApplyAttribute(L"gradient", L"Hor");
  ASSERT_TRUE(Paint({0, 0, 120, 40}));
  EXPECT_EQ(canvas_.Rgb(0, 10), 0xFF0000u);
  EXPECT_EQ(canvas_.Rgb(99, 10), 0x0000FFu);
  control_.ApplyAttribute(L"bkcolor3", L"#FF00FF00");
  ASSERT_TRUE(Paint({0, 0, 120, 40}));
  EXPECT_EQ(canvas_.Rgb(50, 0), 0xFF0000u);   // upper half: first to second
  EXPECT_EQ(canvas_.Rgb(50, 19), 0x00FF00u);  // lower half: second to third
}

TEST_F(ControlPaintTest, StepsPaintImagesOverColoursAndBordersLast) {
  control_.ApplyAttribute(L"bkcolor", L"#FFFF0000");
  control_.ApplyAttribute(L"bkimage", L"file='Image/QuickMark.png' dest='10,0,20,20'");
  control_.ApplyAttribute(L"foreimage", L"file='Image/Strip.png' source='50,0,100,30' dest='15,0,20,20'");
  control_.ApplyAttribute(L"bordercolor", L"#FF000000");
  control_.ApplyAttribute(L"bordersize", L"2");
  ASSERT_TRUE(Paint({0, 0, 120, 40}));
  EXPECT_EQ(canvas_.Rgb(5, 10), 0xFF0000u);   // background colour
  EXPECT_EQ(canvas_.Rgb(12, 10), 0x0000FFu);  // background image over it
  EXPECT_EQ(canvas_.Rgb(17, 10), 0x00FF00u);  // foreground image over that
  EXPECT_EQ(canvas_.Rgb(0, 0), 0x000000u);    // the border on top of everything
  EXPECT_EQ(canvas_.Rgb(1, 10), 0x000000u);
  EXPECT_EQ(canvas_.Rgb(99, 19), 0x000000u);
  EXPECT_EQ(canvas_.Rgb(3, 10), 0xFF0000u);
}

TEST_F(ControlPaintTest, PerSideBordersAndTheFocusColour) {
  control_.ApplyAttribute(L"bordercolor", L"#FF000000");
  control_.ApplyAttribute(L"focusbordercolor", L"#FF00FF00");
  control_.ApplyAttribute(L"leftbordersize", L"3");
  control_.ApplyAttribute(L"bottombordersize", L"1");
  ASSERT_TRUE(Paint({0, 0, 120, 40}));
  EXPECT_EQ(canvas_.Rgb(2, 5), 0x000000u);
  EXPECT_EQ(canvas_.Rgb(3, 5), 0xFFFFFFu);
  EXPECT_EQ(canvas_.Rgb(50, 19), 0x000000u);
  EXPECT_EQ(canvas_.Rgb(50, 18), 0xFFFFFFu);
  InputEvent focus;
  focus.kind = kEventSetFocus;
  control_.HandleEvent(focus);
  ASSERT_TRUE(Paint({0, 0, 120, 40}));
  EXPECT_EQ(canvas_.Rgb(2, 5), 0x00FF00u);
}

TEST_F(ControlPaintTest, BorderCornersRoundTheClip) {
  control_.ApplyAttribute(L"bkcolor", L"#FFFF0000");
  control_.ApplyAttribute(L"borderround", L"12,12");
  ASSERT_TRUE(Paint({0, 0, 120, 40}));
  EXPECT_EQ(canvas_.Rgb(0, 0), 0xFFFFFFu);
  EXPECT_EQ(canvas_.Rgb(50, 10), 0xFF0000u);
  // The clip ends with the paint: later drawing reaches the corner again.
  CControlUI square;
  square.AttachManager(&manager_, nullptr, false);
  square.ApplyAttribute(L"bkcolor", L"#FF0000FF");
  square.PlaceAt({0, 0, 10, 10}, false);
  ASSERT_TRUE(square.PaintControl(canvas_.Dc(), {0, 0, 120, 40}, nullptr));
  EXPECT_EQ(canvas_.Rgb(0, 0), 0x0000FFu);
}

TEST_F(ControlPaintTest, PaintingStopsAtTheStopControlAndSkipsCleanAreas) {
  control_.ApplyAttribute(L"bkcolor", L"#FFFF0000");
  EXPECT_FALSE(control_.PaintControl(canvas_.Dc(), {0, 0, 120, 40}, &control_));
  EXPECT_TRUE(Paint({0, 25, 120, 40}));  // misses the item
  const RECT ink = canvas_.InkBounds();
  EXPECT_TRUE(IsRectEmpty(&ink));
}

TEST_F(ControlPaintTest, ABrokenPictureDrawsNothingAndTheRestPaints) {
  control_.ApplyAttribute(L"bkcolor", L"#FFFF0000");
  control_.ApplyAttribute(L"bkimage", L"Image/Broken.png");
  control_.ApplyAttribute(L"foreimage", L"Image/Bad.svg");
  ASSERT_TRUE(Paint({0, 0, 120, 40}));
  EXPECT_EQ(canvas_.Rgb(50, 10), 0xFF0000u);
}

}  // namespace
}  // namespace SkinUI
