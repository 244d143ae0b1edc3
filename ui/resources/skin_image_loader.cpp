#include "ui/resources/skin_image_loader.h"

#include <cstring>
#include <vector>

#include "ui/markup/value_formats.h"
#include "ui/resources/offscreen_bitmap.h"
#include "ui/resources/picture_pixels.h"
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

// The picture's bytes (let go once decoded) made into pixels.
bool DecodeNamedPicture(const std::wstring& name, const std::wstring& resType, uint32_t mask, HMODULE module,
                        PicturePixels& picture) {
  const std::wstring entryName = IsSvgName(name) ? ParseSvgRenderName(name).entryName : name;
  std::vector<uint8_t> bytes;
  const bool found = resType.empty() ? SkinSource::Get().ReadPictureBytes(entryName, bytes)
                                     : ReadResourceBytes(entryName, resType, module, bytes);
  return found && !bytes.empty() && DecodeSkinPicture(name, bytes.data(), bytes.size(), mask, picture);
}

}  // namespace

std::unique_ptr<ImageEntry> LoadSkinImage(const std::wstring& name, const std::wstring& resType, uint32_t mask,
                                          HMODULE module) {
  PicturePixels picture;
  if (!DecodeNamedPicture(name, resType, mask, module, picture)) return nullptr;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateTopDownDib(nullptr, picture.width, picture.height, &bits);
  if (bitmap == nullptr) return nullptr;
  std::memcpy(bits, picture.bgra.get(), static_cast<size_t>(picture.width) * picture.height * 4);
  auto entry = std::make_unique<ImageEntry>();
  entry->bitmap = bitmap;
  entry->width = picture.width;
  entry->height = picture.height;
  entry->hasAlpha = picture.hasAlpha;
  return entry;
}

}  // namespace SkinUI
