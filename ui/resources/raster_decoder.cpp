// stb_image behind DecodeRasterPicture, with the formats a skin uses: PNG
// and SVG pictures (the latter elsewhere), JPEG and BMP, which skin makers
// hand in, and GIF, whose first frame the framework draws.
#include <climits>

#include "ui/resources/decoded_picture.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
// The decoded block is handed on as a PixelBlock, freed with std::free.
#define STBI_MALLOC(size) std::malloc(size)
#define STBI_REALLOC(block, size) std::realloc(block, size)
#define STBI_FREE(block) std::free(block)
#include "stb_image.h"

namespace SkinUI {

bool DecodeRasterPicture(const uint8_t* bytes, size_t size, DecodedPicture& picture) {
  if (bytes == nullptr || size == 0 || size > INT_MAX) return false;
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(bytes, static_cast<int>(size), &width, &height, &channels)) return false;
  if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxPicturePixels) return false;
  // A failed allocation inside the decoder gives no pixels, like bad data.
  PixelBlock pixels(stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 4));
  if (!pixels) return false;
  picture.width = width;
  picture.height = height;
  picture.rgba = std::move(pixels);
  return true;
}

}  // namespace SkinUI
