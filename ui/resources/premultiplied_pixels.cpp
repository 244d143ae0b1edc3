#include "ui/resources/premultiplied_pixels.h"

#include <cstring>

namespace SkinUI {

bool PremultiplyInPlace(uint8_t* pixels, size_t count, uint32_t mask) {
  bool hasAlpha = false;
  for (uint8_t* rgba = pixels; rgba < pixels + count * 4; rgba += 4) {
    uint32_t r = rgba[0], g = rgba[1], b = rgba[2];
    const uint32_t a = rgba[3];
    if (a != 255) {
      r = r * a / 255;
      g = g * a / 255;
      b = b * a / 255;
      hasAlpha = true;
    }
    uint32_t pixel = (a << 24) | (r << 16) | (g << 8) | b;
    if (mask != 0 && pixel == mask) {
      pixel = 0;
      hasAlpha = true;
    }
    const uint8_t bgra[4] = {static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 8),
                             static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 24)};
    std::memcpy(rgba, bgra, 4);
  }
  return hasAlpha;
}

}  // namespace SkinUI
