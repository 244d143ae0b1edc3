// Decoded RGBA pixels become premultiplied BGRA; the mask colour clears
// pixels and marks the picture as having alpha.
#include <gtest/gtest.h>

#include "ui/resources/premultiplied_pixels.h"

namespace SkinUI {
namespace {

DecodedPicture OnePixel(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { return {1, 1, {r, g, b, a}}; }

TEST(PremultipliedPixelsTest, PixelsByAlphaAndMask) {
  struct Case {
    const char* what;
    DecodedPicture picture;
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
    const PremultipliedPixels result = ToPremultipliedBgra(c.picture, c.mask);
    ASSERT_EQ(result.pixels.size(), 1u) << c.what;
    EXPECT_EQ(result.pixels[0], c.pixel) << c.what;
    EXPECT_EQ(result.hasAlpha, c.hasAlpha) << c.what;
  }
}

TEST(PremultipliedPixelsTest, AShortPixelBufferGivesNothing) {
  const DecodedPicture picture{2, 2, {1, 2, 3, 4}};
  EXPECT_TRUE(ToPremultipliedBgra(picture, 0).pixels.empty());
}

}  // namespace
}  // namespace SkinUI
