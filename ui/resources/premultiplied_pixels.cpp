#include "ui/resources/premultiplied_pixels.h"

namespace SkinUI {

PremultipliedPixels ToPremultipliedBgra(const DecodedPicture& picture, uint32_t mask) {
  PremultipliedPixels result;
  const size_t count = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
  if (picture.rgba.size() < count * 4) return result;
  result.pixels.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* rgba = &picture.rgba[i * 4];
    uint32_t r = rgba[0], g = rgba[1], b = rgba[2];
    const uint32_t a = rgba[3];
    if (a != 255) {
      r = r * a / 255;
      g = g * a / 255;
      b = b * a / 255;
      result.hasAlpha = true;
    }
    uint32_t pixel = (a << 24) | (r << 16) | (g << 8) | b;
    if (mask != 0 && pixel == mask) {
      pixel = 0;
      result.hasAlpha = true;
    }
    result.pixels[i] = pixel;
  }
  return result;
}

}  // namespace SkinUI
