// The decoders behind skin pictures and the ZIP reader, on arbitrary bytes:
// a raster picture and an SVG document at a DPI scale, each made into
// premultiplied pixels, and an archive opened from memory whose dialog
// entry is inflated.
#include <vector>

#include "ui/resources/picture_pixels.h"
#include "ui/resources/zip_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const wchar_t* name : {L"Image/Picture.png", L"Image/Picture@125.svg"}) {
    SkinUI::PicturePixels picture;
    SkinUI::DecodeSkinPicture(name, data, size, 0xFFFF00FFu, picture);
  }
  if (auto archive = SkinUI::CZipArchive::OpenMemory(data, size, "")) {
    std::vector<uint8_t> bytes;
    archive->HasEntry("image\\btnmin.svg");
    archive->Extract("Layout/Layout.xml", 1u << 20, bytes);
  }
  return 0;
}
