// The computed drop shadow's alpha around a window shape.
#include <gtest/gtest.h>

#include "ui/window/shadow_alpha.h"

namespace SkinUI {
namespace {

// A bitmap of `width` x `height` with a window of `inner` pixels square at
// (margin, margin).
ShadowShape SquareWindow(int margin, int inner) {
  ShadowShape shape;
  shape.width = shape.height = inner + 2 * margin;
  shape.inside.assign(static_cast<size_t>(shape.width) * shape.height, 0);
  for (int y = margin; y < margin + inner; ++y) {
    for (int x = margin; x < margin + inner; ++x) shape.inside[static_cast<size_t>(y) * shape.width + x] = 1;
  }
  return shape;
}

TEST(ShadowAlpha, CoreThenLinearFalloffAwayFromTheWindow) {
  const ShadowShape shape = SquareWindow(12, 20);
  const std::vector<uint8_t> alpha = ComputeShadowAlpha(shape, {160, 10, 12});
  const auto at = [&](int x, int y) { return static_cast<int>(alpha[static_cast<size_t>(y) * shape.width + x]); };
  struct Case {
    int x, y, expected;
  } cases[] = {
      {20, 20, 160},  // under the window
      {11, 20, 160},  // 1 pixel out: inside the core of size - sharpness = 2
      {10, 20, 160},  // 2 pixels out: the core's edge
      {9, 20, 145},   // 3 pixels out: 160 * (1 - 1/11)
      {0, 20, 15},    // 12 pixels out: 160 * (1 - 10/11)
      {0, 0, 0},      // the corner lies 17 pixels away: beyond the shadow
  };
  for (const Case& c : cases) EXPECT_EQ(at(c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST(ShadowAlpha, SharpnessAboveTheSizeLeavesNoCore) {
  const ShadowShape shape = SquareWindow(4, 4);
  const std::vector<uint8_t> alpha = ComputeShadowAlpha(shape, {100, 9, 4});
  EXPECT_EQ(alpha[static_cast<size_t>(6) * shape.width + 3], 90);  // 1 pixel out: 100 * (1 - 1/10)
}

TEST(ShadowAlpha, EmptyShapeOrBitmap) {
  EXPECT_TRUE(ComputeShadowAlpha(ShadowShape{}, {}).empty());
  ShadowShape nothing;
  nothing.width = nothing.height = 3;
  nothing.inside.assign(9, 0);
  for (uint8_t a : ComputeShadowAlpha(nothing, {150, 5, 3})) EXPECT_EQ(a, 0);
}

}  // namespace
}  // namespace SkinUI
