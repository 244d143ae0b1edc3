// A window's hue/saturation/lightness adjustment, as a skin writes it in the
// `Window` element's "hsl" attribute: "hue,saturation,lightness".
#pragma once

#include <string_view>

namespace SkinUI {

struct HslAdjustment {
  int hue = 0;           // degrees added to every hue, above -180 up to 180
  int saturation = 100;  // percent: 0 grey, 100 unchanged, 200 twice as saturated
  int lightness = 100;   // percent: 0 black, 100 unchanged, 200 white

  bool IsIdentity() const { return hue == 0 && saturation == 100 && lightness == 100; }
  bool operator==(const HslAdjustment& other) const {
    return hue == other.hue && saturation == other.saturation && lightness == other.lightness;
  }
};

// Reads "hue,saturation,lightness"; missing numbers keep their neutral value,
// out-of-range ones are brought into range (a hue of 270 is -90).
HslAdjustment ParseHslAdjustment(std::wstring_view text);

}  // namespace SkinUI
