// The layout rules as tables: these children in this space give these
// rectangles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/containers/layout_arithmetic.h"

namespace SkinUI {
namespace {

LayoutRequest Fixed(int width, int height) {
  LayoutRequest child;
  child.fixedWidth = width;
  child.fixedHeight = height;
  return child;
}

LayoutRequest Stretch() { return LayoutRequest{}; }

LayoutRequest Padded(LayoutRequest child, UiRect padding) {
  child.padding = padding;
  return child;
}

LayoutRequest Limited(LayoutRequest child, int minWidth, int maxWidth, int minHeight, int maxHeight) {
  child.minWidth = minWidth;
  child.maxWidth = maxWidth;
  child.minHeight = minHeight;
  child.maxHeight = maxHeight;
  return child;
}

LayoutRequest Hidden(LayoutRequest child) {
  child.visible = false;
  return child;
}

LayoutRequest Floating(LayoutRequest child) {
  child.floating = true;
  return child;
}

LayoutRequest Aligned(LayoutRequest child, int align) {
  child.align = align;
  return child;
}

// A child that measures itself (a label with "autocalcwidth"): a width of
// its own whatever the space, the height left to the layout.
LayoutRequest Measuring(int width) {
  LayoutRequest child;
  child.measure = [width](UiSize) { return UiSize{width, 0}; };
  return child;
}

using Rects = std::vector<std::optional<UiRect>>;
constexpr std::nullopt_t kNone = std::nullopt;

struct BoxCase {
  const char* name;
  std::vector<LayoutRequest> children;
  UiRect inner;
  int gap;
  int align;  // horizontal: the container's vertical alignment
  bool balance;
  Rects expected;
};

std::string Show(const std::optional<UiRect>& rect) {
  if (!rect) return "none";
  return std::to_string(rect->left) + "," + std::to_string(rect->top) + "," + std::to_string(rect->right) + "," +
         std::to_string(rect->bottom);
}

void ExpectRects(const char* name, const LayoutResult& actual, const Rects& expected) {
  ASSERT_EQ(actual.size(), expected.size()) << name;
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(Show(actual[i]), Show(expected[i])) << name << ", child " << i;
  }
}

TEST(LayoutArithmeticTest, HorizontalLayouts) {
  const BoxCase cases[] = {
      {"two stretching controls share the width left by an option and a measuring button",
       {Stretch(), Fixed(105, 0), Measuring(80), Stretch()}, {0, 0, 640, 40}, 0, kVAlignTop, false,
       {UiRect{0, 0, 227, 40}, UiRect{227, 0, 332, 40}, UiRect{332, 0, 412, 40}, UiRect{412, 0, 640, 40}}},
      {"the second stretching child takes the odd pixel",
       {Stretch(), Fixed(105, 0), Measuring(81), Stretch()}, {0, 0, 640, 40}, 0, kVAlignTop, false,
       {UiRect{0, 0, 227, 40}, UiRect{227, 0, 332, 40}, UiRect{332, 0, 413, 40}, UiRect{413, 0, 640, 40}}},
      {"expand balance gives the odd pixels to the first stretching children",
       {Stretch(), Stretch(), Stretch(), Fixed(98, 0)}, {0, 0, 100, 10}, 0, kVAlignTop, true,
       {UiRect{0, 0, 1, 10}, UiRect{1, 0, 2, 10}, UiRect{2, 0, 2, 10}, UiRect{2, 0, 100, 10}}},
      {"gaps and paddings",
       {Padded(Fixed(50, 20), {5, 2, 5, 0}), Stretch(), Fixed(30, 0)}, {10, 10, 210, 60}, 4, kVAlignTop, false,
       {UiRect{15, 12, 65, 32}, UiRect{74, 10, 176, 60}, UiRect{180, 10, 210, 60}}},
      {"vertical centring and bottom alignment of the children",
       {Fixed(20, 10), Padded(Fixed(20, 10), {0, 0, 0, 3})}, {0, 0, 100, 40}, 0, kVAlignCenter, false,
       {UiRect{0, 15, 20, 25}, UiRect{20, 15, 40, 25}}},
      {"bottom alignment keeps the bottom padding",
       {Padded(Fixed(20, 10), {0, 0, 0, 3})}, {0, 0, 100, 40}, 0, kVAlignBottom, false,
       {UiRect{0, 27, 20, 37}}},
      {"minimum and maximum clamp stretching children",
       {Limited(Stretch(), 0, 30, 0, 9999), Limited(Stretch(), 80, 9999, 0, 20)}, {0, 0, 100, 50}, 0, kVAlignTop,
       false, {UiRect{0, 0, 30, 50}, UiRect{30, 0, 110, 20}}},
      {"invisible and floating children take no room",
       {Hidden(Fixed(50, 0)), Floating(Fixed(50, 0)), Stretch()}, {0, 0, 100, 10}, 5, kVAlignTop, false,
       {kNone, kNone, UiRect{0, 0, 100, 10}}},
      {"children wider than the space overflow, stretching ones get nothing",
       {Fixed(80, 0), Stretch(), Fixed(80, 0)}, {0, 0, 100, 10}, 0, kVAlignTop, false,
       {UiRect{0, 0, 80, 10}, UiRect{80, 0, 80, 10}, UiRect{80, 0, 160, 10}}},
  };
  for (const BoxCase& c : cases) {
    ExpectRects(c.name, ArrangeHorizontal(c.children, c.inner, c.gap, c.align, c.balance), c.expected);
  }
}

TEST(LayoutArithmeticTest, VerticalLayouts) {
  const BoxCase cases[] = {
      {"a centred child as wide as the layout spans it", {Aligned(Fixed(156, 150), 1)}, {0, 0, 156, 300}, 0, 0, false,
       {UiRect{0, 0, 156, 150}}},
      {"fixed, stretching and fixed with a gap",
       {Fixed(0, 30), Stretch(), Fixed(0, 20)}, {0, 0, 100, 200}, 10, 0, false,
       {UiRect{0, 0, 100, 30}, UiRect{0, 40, 100, 170}, UiRect{0, 180, 100, 200}}},
      {"centre and right alignment ignore the side paddings in the centre only",
       {Aligned(Fixed(40, 10), 1), Padded(Aligned(Fixed(40, 10), 2), {0, 0, 7, 0}), Padded(Fixed(40, 10), {3, 0, 0, 0})},
       {0, 0, 100, 100}, 0, 0, false,
       {UiRect{30, 0, 70, 10}, UiRect{53, 10, 93, 20}, UiRect{3, 20, 43, 30}}},
      {"stretching children split the rest, the last one takes the remainder",
       {Stretch(), Stretch(), Stretch()}, {0, 0, 10, 100}, 0, 0, false,
       {UiRect{0, 0, 10, 33}, UiRect{0, 33, 10, 66}, UiRect{0, 66, 10, 100}}},
      {"a width limit and a minimum height",
       {Limited(Stretch(), 0, 60, 50, 9999), Stretch()}, {0, 0, 100, 60}, 0, 0, false,
       {UiRect{0, 0, 60, 50}, UiRect{0, 50, 100, 60}}},
      {"vertical padding moves the children down",
       {Padded(Fixed(0, 20), {0, 5, 0, 5}), Fixed(0, 20)}, {0, 10, 100, 110}, 0, 0, false,
       {UiRect{0, 15, 100, 35}, UiRect{0, 40, 100, 60}}},
  };
  for (const BoxCase& c : cases) ExpectRects(c.name, ArrangeVertical(c.children, c.inner, c.gap), c.expected);
}

TEST(LayoutArithmeticTest, PlainContainersStackChildrenOverTheWholeArea) {
  ExpectRects("stacked", ArrangeStacked({Stretch(), Limited(Stretch(), 0, 50, 0, 40), Padded(Fixed(10, 10), {5, 5, 5, 5}),
                                         Floating(Stretch())},
                                        {10, 20, 110, 220}),
              {UiRect{10, 20, 110, 220}, UiRect{10, 20, 60, 60}, UiRect{10, 20, 110, 220}, kNone});
}

TEST(LayoutArithmeticTest, TabPages) {
  struct Case {
    const char* name;
    LayoutRequest page;
    UiRect expected;
  };
  const Case cases[] = {
      {"a page without a size fills the area", Stretch(), {10, 10, 110, 60}},
      {"padding deflates the area", Padded(Stretch(), {5, 5, 5, 5}), {15, 15, 105, 55}},
      {"a fixed size stays at the top left", Fixed(40, 20), {10, 10, 50, 30}},
      {"limits clamp", Limited(Stretch(), 0, 30, 60, 9999), {10, 10, 40, 70}},
  };
  for (const Case& c : cases) EXPECT_EQ(Show(ArrangeTabPage(c.page, {10, 10, 110, 60})), Show(c.expected)) << c.name;
}

TEST(LayoutArithmeticTest, FloatingChildren) {
  struct Case {
    const char* name;
    FloatRequest child;
    UiRect container;
    UiRect expected;
  };
  FloatRequest rightCentred;
  rightCentred.width = 38;
  rightCentred.height = 34;
  rightCentred.align = 0x2 | 0x4;
  FloatRequest positioned;
  positioned.y = 25;
  positioned.width = 620;
  positioned.height = 24;
  FloatRequest relative;
  relative.x = 5;
  relative.y = 6;
  relative.width = 10;
  relative.height = 20;
  relative.percentLeft = 0.5;
  relative.percentTop = 0.25;
  relative.percentRight = 0.5;
  relative.percentBottom = 0.25;
  FloatRequest centredBottom;
  centredBottom.x = 99;
  centredBottom.width = 20;
  centredBottom.height = 10;
  centredBottom.align = 0x1 | 0x8;
  const Case cases[] = {
      {"right and vertically centred in a row at x 108", rightCentred, {108, 0, 532, 34}, {494, 0, 532, 34}},
      {"a fixed position inside a 640 x 500 container", positioned, {0, 0, 640, 500}, {0, 25, 620, 49}},
      {"a position relative to the container's size", relative, {100, 100, 300, 200}, {205, 131, 215, 151}},
      {"centred at the bottom, the fixed x ignored", centredBottom, {0, 0, 100, 50}, {40, 40, 60, 50}},
  };
  for (const Case& c : cases) EXPECT_EQ(Show(PlaceFloating(c.child, c.container)), Show(c.expected)) << c.name;
}

}  // namespace
}  // namespace SkinUI
