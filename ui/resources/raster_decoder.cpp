// stb_image behind DecodeRasterPicture.
#include <climits>

#include "ui/resources/decoded_picture.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#include "stb_image.h"

namespace SkinUI {

bool DecodeRasterPicture(const uint8_t* bytes, size_t size, DecodedPicture& picture) {
  if (bytes == nullptr || size == 0 || size > INT_MAX) return false;
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(bytes, static_cast<int>(size), &width, &height, &channels)) return false;
  if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxPicturePixels) return false;
  stbi_uc* pixels = stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 4);
  if (pixels == nullptr) return false;
  picture.width = width;
  picture.height = height;
  picture.rgba.assign(pixels, pixels + static_cast<size_t>(width) * height * 4);
  stbi_image_free(pixels);
  return true;
}

}  // namespace SkinUI
