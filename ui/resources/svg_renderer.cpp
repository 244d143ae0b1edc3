// nanosvg behind RenderSvgPicture: the skin's vector pictures, rendered at
// the scale their name asks for.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "ui/resources/decoded_picture.h"

// The SDL copy marks its sort callback with SDL's calling-convention macro.
#define SDLCALL
#define NSVG_EXPORT static
#define NANOSVG_IMPLEMENTATION
#include "nanosvg.h"
#define NANOSVGRAST_IMPLEMENTATION
#include "nanosvgrast.h"

namespace SkinUI {

namespace {

struct ImageDeleter {
  void operator()(NSVGimage* image) const { nsvgDelete(image); }
};
struct RasterizerDeleter {
  void operator()(NSVGrasterizer* rasterizer) const { nsvgDeleteRasterizer(rasterizer); }
};

// Truncation of a real to an int that refuses what an int cannot hold.
bool TruncateToInt(double value, int& result) {
  if (!std::isfinite(value) || value < 0 || value > 1e9) return false;
  result = static_cast<int>(value);
  return true;
}

}  // namespace

bool RenderSvgPicture(const uint8_t* bytes, size_t size, float scale, DecodedPicture& picture) {
  if (bytes == nullptr || size == 0) return false;
  // nanosvg parses in place and needs a terminated text.
  std::string text(reinterpret_cast<const char*>(bytes), size);
  std::unique_ptr<NSVGimage, ImageDeleter> image(nsvgParse(text.data(), "px", 96.0f));
  if (!image) return false;
  int documentWidth = 0, documentHeight = 0, width = 0, height = 0;
  if (!TruncateToInt(image->width, documentWidth) || !TruncateToInt(image->height, documentHeight) ||
      !TruncateToInt(static_cast<double>(documentWidth) * scale, width) ||
      !TruncateToInt(static_cast<double>(documentHeight) * scale, height)) {
    return false;
  }
  if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxPicturePixels) return false;
  std::unique_ptr<NSVGrasterizer, RasterizerDeleter> rasterizer(nsvgCreateRasterizer());
  if (!rasterizer) return false;
  PixelBlock pixels(static_cast<uint8_t*>(std::calloc(static_cast<size_t>(width) * height, 4)));
  if (!pixels) return false;
  nsvgRasterize(rasterizer.get(), image.get(), 0, 0, scale, pixels.get(), width, height, width * 4);
  picture.width = width;
  picture.height = height;
  picture.rgba = std::move(pixels);
  return true;
}

}  // namespace SkinUI
