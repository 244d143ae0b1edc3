// The pixel form of the framework's bitmaps: premultiplied BGRA, so a pixel
// read as a 32-bit little-endian value is 0xAARRGGBB.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/resources/decoded_picture.h"

namespace SkinUI {

struct PremultipliedPixels {
  std::vector<uint32_t> pixels;
  bool hasAlpha = false;  // a pixel is not fully opaque, or was cleared by the mask
};

// Opaque pixels keep their colour; others get channel * alpha / 255. Then a
// pixel equal to `mask` (when not 0) becomes fully transparent.
PremultipliedPixels ToPremultipliedBgra(const DecodedPicture& picture, uint32_t mask);

}  // namespace SkinUI
