// Decoded RGBA pixels become premultiplied BGRA; the mask colour clears
// pixels and marks the picture as having alpha.
#include <gtest/gtest.h>

#include <vector>

#include "ui/resources/premultiplied_pixels.h"

namespace SkinUI {
namespace {

std::vector<uint8_t> OnePixel(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { return {r, g, b, a}; }

uint32_t PixelValue(const std::vector<uint8_t>& bgra) {
  return bgra[0] | (bgra[1] << 8) | (bgra[2] << 16) | (uint32_t{bgra[3]} << 24);
}

TEST(PremultipliedPixelsTest, PixelsByAlphaAndMask) {
  struct Case {
    const char* what;
    std::vector<uint8_t> picture;
    uint32_t mask;
    uint32_t pixel;
    bool hasAlpha;
  };
  const Case cases[] = {
      {"alpha 128 red", OnePixel(255, 0, 0, 128), 0, 0x80800000u, true},
      {"opaque keeps its colour", OnePixel(0x12, 0x34, 0x56, 255), 0, 0xFF123456u, false},
      {"transparent is all zero", OnePixel(200, 100, 50, 0), 0, 0u, true},
      {"rounding down", OnePixel(255, 255, 255, 1), 0, 0x01010101u, true},
      {"the mask colour is cleared", OnePixel(255, 0, 255, 255), 0xFFFF00FFu, 0u, true},
      {"other colours keep through the mask", OnePixel(255, 0, 254, 255), 0xFFFF00FFu, 0xFFFF00FEu, false},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> pixels = c.picture;
    EXPECT_EQ(PremultiplyInPlace(pixels.data(), 1, c.mask), c.hasAlpha) << c.what;
    EXPECT_EQ(PixelValue(pixels), c.pixel) << c.what;
  }
}

}  // namespace
}  // namespace SkinUI
