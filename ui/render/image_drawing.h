// An image drawing string taken apart: which picture, where it goes, which
// part of it and how. Parsed once per window and string pair.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/dpi/dpi_scaler.h"
#include "ui/geometry/ui_rect.h"

namespace SkinUI {

struct ImageDrawing {
  std::wstring drawString;  // the drawing string and its modifier, as given
  std::wstring name;        // after the DPI variant substitution
  std::wstring resType;
  UiRect dest;    // relative to the item rectangle, in pixels at the window's scale
  UiRect source;  // part of the picture; all zero for the whole picture
  UiRect corner;  // nine-grid corner sizes
  uint32_t mask = 0;
  uint8_t fade = 255;
  bool hole = false;
  bool xtiled = false;
  bool ytiled = false;
  bool hsl = false;
  UiSize iconSize;
  std::wstring iconAlign;
  bool dpiPicture = false;  // a DPI variant (or an SVG) was chosen
};

// Answers whether a DPI variant name names a picture of the skin source.
using VariantExists = std::function<bool(const std::wstring& variantName)>;

// Keys of the drawing string are read first, then those of the modifier;
// later keys replace earlier ones. At a scale other than 100 the DPI variant
// of the name is taken when it is an SVG or `variantExists` finds it; "dest"
// is then scaled, "source" and "corner" only for such a DPI picture, and
// "dest<scale>" / "source<scale>" replace them unscaled.
ImageDrawing ParseImageDrawing(std::wstring_view drawString, std::wstring_view modifier, const CDpiScaler& scaler,
                                 const VariantExists& variantExists);

}  // namespace SkinUI

namespace SkinUI {

// Where a picture lands inside the item rectangle. All-zero dest takes the
// item rectangle; a dest whose right (bottom) lies before the item's left
// (top) edge is anchored to the item's right (bottom) edge instead.
UiRect ImageDestination(const UiRect& item, const UiRect& dest);

// The part of a picture to draw: all of it for an all-zero source, else the
// source with its right and bottom clipped to the picture.
UiRect ImageSource(const UiRect& source, int pictureWidth, int pictureHeight);

}  // namespace SkinUI
