#include "ui/resources/offscreen_bitmap.h"

namespace SkinUI {

HBITMAP CreateTopDownDib(HDC reference, int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  *bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(reference, &info, DIB_RGB_COLORS, bits, nullptr, 0);
  if (bitmap != nullptr && *bits == nullptr) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

bool COffscreenBitmap::Ensure(HDC reference, int width, int height) {
  if (bitmap_ && width == width_ && height == height_) return true;
  Release();
  if (width <= 0 || height <= 0) return false;
  dc_ = CreateCompatibleDC(reference);
  if (dc_ == nullptr) return false;
  void* bits = nullptr;
  bitmap_ = CreateTopDownDib(reference, width, height, &bits);
  if (bitmap_ == nullptr) {
    Release();
    return false;
  }
  oldBitmap_ = SelectObject(dc_, bitmap_);
  pixels_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  return true;
}

void COffscreenBitmap::Release() {
  if (dc_ && oldBitmap_) SelectObject(dc_, oldBitmap_);
  if (bitmap_) DeleteObject(bitmap_);
  if (dc_) DeleteDC(dc_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  oldBitmap_ = nullptr;
  pixels_ = nullptr;
  width_ = height_ = 0;
}

}  // namespace SkinUI
