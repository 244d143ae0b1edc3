// The hue/saturation/lightness adjustment: the "hsl" attribute's reading,
// and what it makes of colours and of premultiplied pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ui/markup/window_attributes.h"
#include "ui/resources/hsl_colour.h"

namespace SkinUI {
namespace {

struct ReadingCase {
  const wchar_t* text;
  HslAdjustment expected;
};

TEST(HslColourTest, TheAttributeReadsThreeNumbersInRange) {
  const ReadingCase cases[] = {
      {L"", {0, 100, 100}},
      {L"120,50,150", {120, 50, 150}},
      {L"30", {30, 100, 100}},             // missing parts stay neutral
      {L",,40", {0, 100, 40}},
      {L"270,300,-5", {-90, 200, 0}},       // the hue wraps, the others are clamped
      {L"-540,100,100", {180, 100, 100}},
      {L" 60 , 80 , 120 ", {60, 80, 120}},
      {L"abc,x,", {0, 100, 100}},
  };
  for (const ReadingCase& c : cases) {
    WindowAttributes a;
    ASSERT_TRUE(ApplyWindowAttribute(a, L"hsl", c.text));
    EXPECT_EQ(a.hsl, c.expected) << c.text << " read as " << a.hsl.hue << "," << a.hsl.saturation << ","
                                 << a.hsl.lightness;
  }
}

struct ColourCase {
  uint32_t colour;
  HslAdjustment adjustment;
  uint32_t expected;
};

TEST(HslColourTest, ColoursTurnRoundTheWheelAndKeepTheirAlpha) {
  const ColourCase cases[] = {
      {0xFFFF0000, {}, 0xFFFF0000},                 // neutral: unchanged
      {0x80FF0000, {120, 100, 100}, 0x8000FF00},    // red turns green, alpha kept
      {0xFFFF0000, {-120, 100, 100}, 0xFF0000FF},   // and the other way blue
      {0xFF00FF00, {180, 100, 100}, 0xFFFF00FF},
      {0xFFFF0000, {0, 0, 100}, 0xFF808080},        // no saturation: grey of the same lightness
      {0xFF804040, {0, 200, 100}, 0xFFC00000},      // full saturation
      {0xFF3366CC, {0, 100, 0}, 0xFF000000},        // lightness 0: black
      {0xFF3366CC, {0, 100, 200}, 0xFFFFFFFF},      // 200: white
      {0xFFFF0000, {0, 100, 50}, 0xFF800000},       // half the lightness
      {0xFF808080, {90, 100, 100}, 0xFF808080},     // grey has no hue to turn
  };
  for (const ColourCase& c : cases) {
    EXPECT_EQ(AdjustColourHsl(c.colour, c.adjustment), c.expected) << std::hex << c.colour;
  }
}

TEST(HslColourTest, PremultipliedPixelsAreAdjustedAsTheirColour) {
  // Opaque red, half-transparent red (premultiplied: R 128), transparent.
  const std::vector<uint32_t> source = {0xFFFF0000, 0x80800000, 0x00000000};
  std::vector<uint32_t> target(source.size());
  AdjustPremultipliedPixels(source.data(), target.data(), source.size(), {120, 100, 100});
  EXPECT_EQ(target, (std::vector<uint32_t>{0xFF00FF00, 0x80008000, 0x00000000}));

  // In place, and starting again from the source gives the same result.
  std::vector<uint32_t> inPlace = source;
  AdjustPremultipliedPixels(inPlace.data(), inPlace.data(), inPlace.size(), {120, 100, 100});
  EXPECT_EQ(inPlace, target);
}

}  // namespace
}  // namespace SkinUI
