// The DPI steps that the skin holds pictures for.
#include <gtest/gtest.h>

#include "ui/dpi/dpi_scaler.h"

namespace SkinUI {
namespace {

TEST(DpiQuantiseTest, DpiFallsToTheStepBelow) {
  const int cases[][2] = {{72, 72}, {95, 95}, {96, 96}, {110, 96}, {119, 96}, {120, 120}, {130, 120}, {143, 120},
                          {144, 144}, {167, 144}, {168, 168}, {191, 168}, {192, 192}, {300, 192}};
  for (const auto& c : cases) EXPECT_EQ(QuantiseDpi(c[0]), c[1]) << c[0];
}

TEST(DpiQuantiseTest, TheStepsAreTheFiveScales) {
  const int cases[][2] = {{96, 100}, {120, 125}, {144, 150}, {168, 175}, {192, 200}, {72, 75}};
  for (const auto& c : cases) {
    CDpiScaler scaler;
    scaler.SetDpi(QuantiseDpi(c[0]));
    EXPECT_EQ(scaler.Scale(), c[1]) << c[0];
  }
}

TEST(DpiQuantiseTest, PicturesComeFromTheStepAtOrBelowTheScale) {
  const int cases[][2] = {{100, 100}, {110, 100}, {125, 125}, {140, 125}, {150, 150}, {175, 175},
                          {200, 200}, {225, 200}, {250, 200}, {300, 200}, {75, 75}};
  for (const auto& c : cases) EXPECT_EQ(PictureStepScale(c[0]), c[1]) << c[0];
}

TEST(DpiQuantiseTest, DisplayRatioEstimates) {
  struct Case {
    int display, monitor, dpi;
  };
  const Case cases[] = {{1920, 1920, 0},   {1280, 1920, 0},   {2400, 1920, 120}, {2879, 1920, 120},
                        {2880, 1920, 144}, {3359, 1920, 144}, {3360, 1920, 168}, {3839, 1920, 168},
                        {3840, 1920, 192}, {7680, 1920, 192}, {1920, 0, 96},     {0, 1920, 96}};
  for (const Case& c : cases) EXPECT_EQ(DpiFromDisplayRatio(c.display, c.monitor), c.dpi) << c.display << "/" << c.monitor;
}

}  // namespace
}  // namespace SkinUI
