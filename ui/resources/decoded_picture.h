// A picture decoded from the bytes of a skin file, before it becomes a
// bitmap: 8-bit RGBA pixels, row by row from the top, in one block of the
// C heap that the decoder allocated, so that nothing copies it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace SkinUI {

struct FreePixels {
  void operator()(uint8_t* pixels) const { std::free(pixels); }
};
using PixelBlock = std::unique_ptr<uint8_t, FreePixels>;

struct DecodedPicture {
  int width = 0;
  int height = 0;
  PixelBlock rgba;  // width * height * 4 bytes
};

// Pictures with more pixels than this are refused before anything is
// allocated. The shipped program is 32-bit: of its 2 GB of address space,
// what is left free in one piece after the program's own images, heaps and
// stacks is a few hundred megabytes at best, and decoding holds two blocks
// of width * height * 4 bytes at once (the decoder's rows and its output,
// then the output and the bitmap). 4096 x 4096 pixels is 64 MB a block,
// and still more than a full-screen picture at four times 1080p.
constexpr int64_t kMaxPicturePixels = int64_t{4096} * 4096;

// PNG, JPEG, BMP and GIF (its first frame).
bool DecodeRasterPicture(const uint8_t* bytes, size_t size, DecodedPicture& picture);

// Renders an SVG document at `scale` times its size (each side truncated to
// an integer, scaled, truncated again) on a transparent background. False
// for a document that the renderer rejects or that has no size.
bool RenderSvgPicture(const uint8_t* bytes, size_t size, float scale, DecodedPicture& picture);

}  // namespace SkinUI
