// Scaling of markup numbers: rounding halves away from zero, and rectangles
// that keep their scaled width.
#include <gtest/gtest.h>

#include "ui/dpi/dpi_scaler.h"

namespace SkinUI {
namespace {

CDpiScaler ScalerAt(int dpi) {
  CDpiScaler scaler;
  scaler.SetDpi(dpi);
  return scaler;
}

TEST(DpiScalerTest, ValuesRoundToTheNearestInteger) {
  struct Case {
    int dpi, value, scaled;
  };
  const Case cases[] = {
      {120, 105, 131}, {120, 14, 18}, {120, -14, -18}, {144, 1, 2}, {96, 37, 37}, {192, 12, 24}, {168, 9999, 17498},
  };
  for (const Case& c : cases) EXPECT_EQ(ScalerAt(c.dpi).ScaleValue(c.value), c.scaled) << c.dpi << " " << c.value;
  EXPECT_EQ(ScalerAt(120).Scale(), 125);
  EXPECT_EQ(ScalerAt(144).UnscaleValue(150), 100);
  EXPECT_EQ(ScalerAt(144).Dpi(), 144);
}

TEST(DpiScalerTest, RectanglesKeepTheirScaledWidth) {
  EXPECT_EQ(ScalerAt(144).ScaleRect({1, 1, 2, 2}), (UiRect{2, 2, 4, 4}));
  EXPECT_EQ(ScalerAt(120).ScaleRect({-20, 0, -4, 16}), (UiRect{-25, 0, -5, 20}));
}

TEST(DpiScalerTest, UnawareScalersKeepValues) {
  CDpiScaler scaler = ScalerAt(192);
  scaler.SetAwareness(CDpiScaler::kUnaware);
  EXPECT_EQ(scaler.ScaleValue(10), 10);
  EXPECT_EQ(scaler.Dpi(), 96);
}

TEST(DpiScalerTest, MulDivRoundsAndRefusesWhatDoesNotFit) {
  EXPECT_EQ(MulDivRound(7, 1, 2), 4);
  EXPECT_EQ(MulDivRound(-7, 1, 2), -4);
  EXPECT_EQ(MulDivRound(5, 3, 0), -1);
  EXPECT_EQ(MulDivRound(2000000000, 4, 1), -1);
}

}  // namespace
}  // namespace SkinUI
