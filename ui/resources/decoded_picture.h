// A picture decoded from the bytes of a skin file, before it becomes a
// bitmap: 8-bit RGBA pixels, row by row from the top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace SkinUI {

struct DecodedPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

// Pictures larger than this many pixels are refused rather than allocated.
constexpr int64_t kMaxPicturePixels = int64_t{8192} * 8192;

// PNG, JPEG, BMP, GIF (first frame) and the other formats of stb_image.
bool DecodeRasterPicture(const uint8_t* bytes, size_t size, DecodedPicture& picture);

// Renders an SVG document at `scale` times its size (each side truncated to
// an integer, scaled, truncated again) on a transparent background. False
// for a document that the renderer rejects or that has no size.
bool RenderSvgPicture(const uint8_t* bytes, size_t size, float scale, DecodedPicture& picture);

}  // namespace SkinUI
