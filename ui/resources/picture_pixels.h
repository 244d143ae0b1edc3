// A skin picture's bytes made into the framework's pixel form, decoded once
// and converted where the decoder left them, so that the largest picture
// needs no more than the decoder's own blocks and, later, its bitmap. No
// Windows calls here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "ui/resources/decoded_picture.h"

namespace SkinUI {

struct PicturePixels {
  int width = 0;
  int height = 0;
  PixelBlock bgra;  // premultiplied BGRA (premultiplied_pixels.h), width * height * 4 bytes
  bool hasAlpha = false;
};

// `name` says the kind: an SVG name renders at the scale its "@N" carries,
// any other is a raster picture. False for bytes that do not decode, for a
// picture over kMaxPicturePixels, and when memory runs out on the way.
bool DecodeSkinPicture(const std::wstring& name, const uint8_t* bytes, size_t size, uint32_t mask,
                       PicturePixels& picture);

}  // namespace SkinUI
