// The decoders behind skin pictures and the ZIP reader, on arbitrary bytes:
// a raster picture, an SVG document at a DPI scale, and an archive opened
// from memory whose dialog entry is inflated.
#include <vector>

#include "ui/resources/decoded_picture.h"
#include "ui/resources/zip_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SkinUI::DecodedPicture picture;
  SkinUI::DecodeRasterPicture(data, size, picture);
  SkinUI::RenderSvgPicture(data, size, 1.25f, picture);
  if (auto archive = SkinUI::CZipArchive::OpenMemory(data, size, "")) {
    std::vector<uint8_t> bytes;
    archive->HasEntry("image\\btnmin.svg");
    archive->Extract("Layout/Layout.xml", 1u << 20, bytes);
  }
  return 0;
}
