// The per-pixel alpha work of layered windows.
#include <gtest/gtest.h>

#include <vector>

#include "ui/host/layered_alpha.h"

namespace SkinUI {
namespace {

TEST(LayeredAlphaTest, GdiPixelsBecomeOpaqueOnlyInTheDirtyRectangle) {
  std::vector<uint32_t> pixels = {0x00123456, 0x00000000, 0x80402010, 0x00FFFFFF,
                                  0x00123456, 0x00000000, 0x80402010, 0x00FFFFFF};
  FixGdiAlpha(pixels.data(), 4, 2, {0, 0, 4, 1});
  EXPECT_EQ(pixels, (std::vector<uint32_t>{0xFF123456, 0x00000000, 0x80402010, 0xFFFFFFFF,
                                           0x00123456, 0x00000000, 0x80402010, 0x00FFFFFF}));
}

TEST(LayeredAlphaTest, ClearingStaysInsideTheBitmap) {
  std::vector<uint32_t> pixels(6, 0xFFFFFFFF);
  ClearPixels(pixels.data(), 3, 2, {-5, 1, 2, 9});
  EXPECT_EQ(pixels, (std::vector<uint32_t>{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0xFFFFFFFF}));
  ClearPixels(pixels.data(), 3, 2, {5, 0, 9, 2});  // outside: nothing
  EXPECT_EQ(pixels[0], 0xFFFFFFFFu);
}

TEST(LayeredAlphaTest, TheMaskScalesEveryChannel) {
  std::vector<uint32_t> pixels = {0xFF804020, 0xFFFFFFFF, 0x80402010};
  const std::vector<uint32_t> mask = {0x80000000, 0x00FFFFFF, 0xFF000000};
  MultiplyByMaskAlpha(pixels.data(), mask.data(), 3);
  EXPECT_EQ(pixels, (std::vector<uint32_t>{0x80402010, 0x00000000, 0x80402010}));
}

TEST(LayeredAlphaTest, PrintedChildrenAreOpaqueWhereTheyDrew) {
  std::vector<uint32_t> pixels = {0, 0x00000001, 0x00FFFFFF};
  MakePrintedOpaque(pixels.data(), 3);
  EXPECT_EQ(pixels, (std::vector<uint32_t>{0, 0xFF000001, 0xFFFFFFFF}));
}

}  // namespace
}  // namespace SkinUI
