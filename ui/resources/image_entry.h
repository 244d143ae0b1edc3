// One decoded picture of the skin as a bitmap: 32-bit top-down, pixels in
// premultiplied BGRA. The entry owns its bitmap.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {

struct ImageEntry {
  ImageEntry() = default;
  ImageEntry(const ImageEntry&) = delete;
  ImageEntry& operator=(const ImageEntry&) = delete;
  ~ImageEntry() {
    if (bitmap) DeleteObject(bitmap);
  }

  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
  bool hasAlpha = false;
  std::wstring resType;  // empty for skin files
  uint32_t mask = 0;     // ARGB, 0 = none
  bool useHsl = false;
  // With use-HSL: the unadjusted pixels, so adjustments start from them.
  std::vector<uint32_t> originalPixels;
};

}  // namespace SkinUI
