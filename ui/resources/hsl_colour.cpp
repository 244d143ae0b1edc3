#include "ui/resources/hsl_colour.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {

namespace {

struct Hsl {
  double h;  // 0 to 360
  double s;  // 0 to 1
  double l;  // 0 to 1
};

Hsl FromRgb(double r, double g, double b) {
  const double high = std::max({r, g, b});
  const double low = std::min({r, g, b});
  Hsl hsl{0, 0, (high + low) / 2};
  const double range = high - low;
  if (range <= 0) return hsl;
  hsl.s = hsl.l > 0.5 ? range / (2 - high - low) : range / (high + low);
  if (high == r) hsl.h = (g - b) / range + (g < b ? 6 : 0);
  else if (high == g) hsl.h = (b - r) / range + 2;
  else hsl.h = (r - g) / range + 4;
  hsl.h *= 60;
  return hsl;
}

double Channel(double p, double q, double h) {
  if (h < 0) h += 360;
  if (h >= 360) h -= 360;
  if (h < 60) return p + (q - p) * h / 60;
  if (h < 180) return q;
  if (h < 240) return p + (q - p) * (240 - h) / 60;
  return p;
}

void ToRgb(const Hsl& hsl, double& r, double& g, double& b) {
  if (hsl.s <= 0) {
    r = g = b = hsl.l;
    return;
  }
  const double q = hsl.l < 0.5 ? hsl.l * (1 + hsl.s) : hsl.l + hsl.s - hsl.l * hsl.s;
  const double p = 2 * hsl.l - q;
  r = Channel(p, q, hsl.h + 120);
  g = Channel(p, q, hsl.h);
  b = Channel(p, q, hsl.h - 120);
}

// Below 100 % a factor towards 0, above it the same share of the way to 1.
double Scale(double value, int percent) {
  if (percent <= 100) return value * percent / 100;
  return value + (1 - value) * (percent - 100) / 100;
}

uint32_t Byte(double value) { return static_cast<uint32_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255)); }

// Red, green and blue in 0..1, adjusted in place.
void Adjust(double& r, double& g, double& b, const HslAdjustment& adjustment) {
  Hsl hsl = FromRgb(r, g, b);
  hsl.h = std::fmod(hsl.h + adjustment.hue + 360, 360);
  hsl.s = Scale(hsl.s, adjustment.saturation);
  hsl.l = Scale(hsl.l, adjustment.lightness);
  ToRgb(hsl, r, g, b);
}

}  // namespace

uint32_t AdjustColourHsl(uint32_t argb, const HslAdjustment& adjustment) {
  if (adjustment.IsIdentity()) return argb;
  double r = ((argb >> 16) & 0xFF) / 255.0, g = ((argb >> 8) & 0xFF) / 255.0, b = (argb & 0xFF) / 255.0;
  Adjust(r, g, b, adjustment);
  return (argb & 0xFF000000u) | Byte(r) << 16 | Byte(g) << 8 | Byte(b);
}

void AdjustPremultipliedPixels(const uint32_t* source, uint32_t* target, size_t count,
                               const HslAdjustment& adjustment) {
  if (adjustment.IsIdentity()) {
    if (target != source) std::copy(source, source + count, target);
    return;
  }
  for (size_t i = 0; i < count; ++i) {
    const uint32_t pixel = source[i];
    const uint32_t alpha = pixel >> 24;
    if (alpha == 0) {
      target[i] = pixel;
      continue;
    }
    // The colour is adjusted unpremultiplied, then premultiplied again.
    const double a = alpha / 255.0;
    double r = std::min(1.0, ((pixel >> 16) & 0xFF) / 255.0 / a);
    double g = std::min(1.0, ((pixel >> 8) & 0xFF) / 255.0 / a);
    double b = std::min(1.0, (pixel & 0xFF) / 255.0 / a);
    Adjust(r, g, b, adjustment);
    target[i] = alpha << 24 | Byte(r * a) << 16 | Byte(g * a) << 8 | Byte(b * a);
  }
}

}  // namespace SkinUI
