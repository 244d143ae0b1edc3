// A 32-bit top-down bitmap selected into a memory DC: the off-screen
// surface of a window's painting, with its pixels in reach.
#pragma once

#include <windows.h>

#include <cstdint>

namespace SkinUI {

// A 32-bit top-down DIB section of the size, with `bits` at its first pixel;
// null (and nothing to free) when it cannot be made.
HBITMAP CreateTopDownDib(HDC reference, int width, int height, void** bits);

class COffscreenBitmap {
 public:
  COffscreenBitmap() = default;
  ~COffscreenBitmap() { Release(); }
  COffscreenBitmap(const COffscreenBitmap&) = delete;
  COffscreenBitmap& operator=(const COffscreenBitmap&) = delete;

  // Makes a bitmap of the size unless one of that size exists; false when it cannot be made.
  bool Ensure(HDC reference, int width, int height);
  void Release();
  bool Valid() const { return bitmap_ != nullptr; }
  HDC Dc() const { return dc_; }
  HBITMAP Bitmap() const { return bitmap_; }
  uint32_t* Pixels() const { return pixels_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  uint32_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace SkinUI
