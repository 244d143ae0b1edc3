#include "ui/resources/picture_pixels.h"

#include <new>

#include "ui/resources/premultiplied_pixels.h"
#include "ui/resources/skin_image_name.h"

namespace SkinUI {

bool DecodeSkinPicture(const std::wstring& name, const uint8_t* bytes, size_t size, uint32_t mask,
                       PicturePixels& picture) {
  DecodedPicture decoded;
  try {
    const bool ok = IsSvgName(name) ? RenderSvgPicture(bytes, size, ParseSvgRenderName(name).scale, decoded)
                                    : DecodeRasterPicture(bytes, size, decoded);
    if (!ok) return false;
  } catch (const std::bad_alloc&) {
    return false;  // the picture fails as if it did not decode
  }
  picture.width = decoded.width;
  picture.height = decoded.height;
  picture.hasAlpha = PremultiplyInPlace(decoded.rgba.get(), static_cast<size_t>(decoded.width) * decoded.height, mask);
  picture.bgra = std::move(decoded.rgba);
  return true;
}

}  // namespace SkinUI
