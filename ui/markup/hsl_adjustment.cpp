#include "ui/markup/hsl_adjustment.h"

#include <algorithm>

#include "ui/markup/value_formats.h"

namespace SkinUI {

namespace {

// The parts between commas; a part without a digit is left out.
bool ReadPart(std::wstring_view& rest, int& value) {
  const size_t comma = rest.find(L',');
  const std::wstring_view part = rest.substr(0, comma);
  rest = comma == std::wstring_view::npos ? std::wstring_view{} : rest.substr(comma + 1);
  if (part.find_first_of(L"0123456789") == std::wstring_view::npos) return false;
  value = ParseInteger(part.substr(part.find_first_not_of(L" \t")));
  return true;
}

}  // namespace

HslAdjustment ParseHslAdjustment(std::wstring_view text) {
  HslAdjustment adjustment;
  int value = 0;
  if (ReadPart(text, value)) {
    value %= 360;
    if (value > 180) value -= 360;
    if (value <= -180) value += 360;  // -180 and 180 are one turn
    adjustment.hue = value;
  }
  if (ReadPart(text, value)) adjustment.saturation = std::clamp(value, 0, 200);
  if (ReadPart(text, value)) adjustment.lightness = std::clamp(value, 0, 200);
  return adjustment;
}

}  // namespace SkinUI
