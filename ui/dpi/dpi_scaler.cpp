#include "ui/dpi/dpi_scaler.h"

#include <cstdint>

namespace SkinUI {

int MulDivRound(int n, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const int64_t product = static_cast<int64_t>(n) * numerator;
  const int64_t magnitude = (product < 0 ? -product : product);
  const int64_t divisor = denominator < 0 ? -static_cast<int64_t>(denominator) : denominator;
  const int64_t rounded = (magnitude + divisor / 2) / divisor;
  const bool negative = (product < 0) != (denominator < 0);
  if (rounded > INT32_MAX) return -1;  // does not fit, as MulDiv reports it
  return static_cast<int>(negative ? -rounded : rounded);
}

int QuantiseDpi(int dpi) {
  if (dpi < 96) return dpi;
  if (dpi >= 192) return 192;
  return 96 + (dpi - 96) / 24 * 24;
}

int PictureStepScale(int scale) {
  return MulDivRound(QuantiseDpi(MulDivRound(scale, 96, 100)), 100, 96);
}

int DpiFromDisplayRatio(int displayWidth, int monitorWidth) {
  if (displayWidth <= 0 || monitorWidth <= 0) return 96;
  // Compared in hundredths, in 64 bits, so no division rounds a step away.
  const int64_t ratio100 = static_cast<int64_t>(displayWidth) * 100;
  const int64_t width = monitorWidth;
  if (ratio100 <= width * 100) return 0;
  if (ratio100 < width * 150) return 120;
  if (ratio100 < width * 175) return 144;
  if (ratio100 < width * 200) return 168;
  return 192;
}

int CDpiScaler::Scale() const {
  switch (awareness_) {
    case kUnaware: return 100;
    case kSystemAware: return systemScale_;
    default: return monitorScale_;
  }
}

int CDpiScaler::ScaleValue(int n) const {
  return awareness_ == kUnaware ? n : MulDivRound(n, Scale(), 100);
}

int CDpiScaler::UnscaleValue(int n) const { return MulDivRound(n, 100, Scale()); }

UiSize CDpiScaler::ScaleSize(UiSize size) const { return {ScaleValue(size.cx), ScaleValue(size.cy)}; }

UiRect CDpiScaler::ScaleRect(const UiRect& rect) const {
  UiRect scaled;
  scaled.left = ScaleValue(rect.left);
  scaled.top = ScaleValue(rect.top);
  scaled.right = scaled.left + ScaleValue(rect.right - rect.left);
  scaled.bottom = scaled.top + ScaleValue(rect.bottom - rect.top);
  return scaled;
}

int CDpiScaler::Dpi() const { return awareness_ == kUnaware ? 96 : MulDivRound(Scale(), 96, 100); }

void CDpiScaler::SetDpi(int dpi) {
  monitorScale_ = MulDivRound(dpi, 100, 96);
  if (systemScale_ == 0) systemScale_ = monitorScale_;
}

}  // namespace SkinUI
