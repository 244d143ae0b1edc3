// The pixel form of the framework's bitmaps: premultiplied BGRA, so a pixel
// read as a 32-bit little-endian value is 0xAARRGGBB.
#pragma once

#include <cstddef>
#include <cstdint>

namespace SkinUI {

// Turns `count` RGBA pixels into that form where they stand: opaque pixels
// keep their colour, others get channel * alpha / 255. Then a pixel equal
// to `mask` (when not 0) becomes fully transparent. True when a pixel is
// not fully opaque or was cleared by the mask.
bool PremultiplyInPlace(uint8_t* pixels, size_t count, uint32_t mask);

}  // namespace SkinUI
