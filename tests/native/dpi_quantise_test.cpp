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

}  // namespace
}  // namespace SkinUI
