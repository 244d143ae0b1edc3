#include "ui/resources/skin_image_loader.h"

#include <cstring>
#include <vector>

#include "ui/markup/value_formats.h"
#include "ui/paint/offscreen_bitmap.h"
#include "ui/resources/decoded_picture.h"
#include "ui/resources/premultiplied_pixels.h"
#include "ui/resources/skin_image_name.h"
#include "ui/resources/skin_source.h"

namespace SkinUI {

namespace {

bool ReadResourceBytes(const std::wstring& name, const std::wstring& resType, HMODULE module,
                       std::vector<uint8_t>& bytes) {
  const int id = ParseInteger(name);
  const HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), resType.c_str());
  const HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = info ? SizeofResource(module, info) : 0;
  if (data == nullptr || size == 0) return false;
  const auto* first = static_cast<const uint8_t*>(data);
  bytes.assign(first, first + size);
  return true;
}

HBITMAP CreateTopDownBitmap(int width, int height, const std::vector<uint32_t>& pixels) {
  void* bits = nullptr;
  const HBITMAP bitmap = CreateTopDownDib(nullptr, width, height, &bits);
  if (bitmap == nullptr) return nullptr;
  std::memcpy(bits, pixels.data(), pixels.size() * sizeof(uint32_t));
  return bitmap;
}

}  // namespace

std::unique_ptr<ImageEntry> LoadSkinImage(const std::wstring& name, const std::wstring& resType, uint32_t mask,
                                          HMODULE module) {
  const bool svg = IsSvgName(name);
  const SvgRenderRequest request = svg ? ParseSvgRenderName(name) : SvgRenderRequest{name, 1.0f};

  std::vector<uint8_t> bytes;
  const bool found = resType.empty() ? SkinSource::Get().ReadPictureBytes(request.entryName, bytes)
                                     : ReadResourceBytes(request.entryName, resType, module, bytes);
  if (!found || bytes.empty()) return nullptr;

  DecodedPicture picture;
  const bool decoded = svg ? RenderSvgPicture(bytes.data(), bytes.size(), request.scale, picture)
                           : DecodeRasterPicture(bytes.data(), bytes.size(), picture);
  if (!decoded) return nullptr;

  const PremultipliedPixels pixels = ToPremultipliedBgra(picture, mask);
  if (pixels.pixels.empty()) return nullptr;
  auto entry = std::make_unique<ImageEntry>();
  entry->bitmap = CreateTopDownBitmap(picture.width, picture.height, pixels.pixels);
  if (entry->bitmap == nullptr) return nullptr;
  entry->width = picture.width;
  entry->height = picture.height;
  entry->hasAlpha = pixels.hasAlpha;
  return entry;
}

}  // namespace SkinUI
