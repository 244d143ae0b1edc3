#include "ui/host/layered_alpha.h"

#include <algorithm>

namespace SkinUI {

namespace {

// `rect` limited to the bitmap; empty when it misses.
UiRect Clip(const UiRect& rect, int width, int height) {
  UiRect clipped{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width),
                 std::min(rect.bottom, height)};
  if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) return {};
  return clipped;
}

}  // namespace

void ClearPixels(uint32_t* pixels, int width, int height, const UiRect& rect) {
  const UiRect area = Clip(rect, width, height);
  for (int y = area.top; y < area.bottom; ++y) {
    std::fill(pixels + y * width + area.left, pixels + y * width + area.right, 0u);
  }
}

void FixGdiAlpha(uint32_t* pixels, int width, int height, const UiRect& rect) {
  const UiRect area = Clip(rect, width, height);
  for (int y = area.top; y < area.bottom; ++y) {
    for (uint32_t* pixel = pixels + y * width + area.left; pixel != pixels + y * width + area.right; ++pixel) {
      if ((*pixel & 0xFF000000u) == 0 && (*pixel & 0x00FFFFFFu) != 0) *pixel |= 0xFF000000u;
    }
  }
}

void MultiplyByMaskAlpha(uint32_t* pixels, const uint32_t* mask, int count) {
  for (int i = 0; i < count; ++i) {
    const uint32_t alpha = mask[i] >> 24;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const uint32_t channel = (pixels[i] >> shift) & 0xFF;
      result |= ((channel * alpha + 127) / 255) << shift;
    }
    pixels[i] = result;
  }
}

void MakePrintedOpaque(uint32_t* pixels, int count) {
  for (int i = 0; i < count; ++i) {
    if (pixels[i] != 0) pixels[i] |= 0xFF000000u;
  }
}

}  // namespace SkinUI
