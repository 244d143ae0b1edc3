#include "ui/render/image_drawing.h"

#include <algorithm>

#include "ui/markup/attribute_list.h"
#include "ui/markup/value_formats.h"
#include "ui/resources/skin_image_name.h"
#include "base/text_rules.h"

namespace SkinUI {

namespace {

// The keys of both strings, the modifier's winning.
AttributeMap MergedKeys(std::wstring_view drawString, std::wstring_view modifier) {
  AttributeMap keys = ParseAttributeList(drawString);
  for (auto& [key, value] : ParseAttributeList(modifier)) keys[key] = value;
  return keys;
}

const std::wstring* Find(const AttributeMap& keys, const std::wstring& key) {
  const auto found = keys.find(key);
  return found == keys.end() ? nullptr : &found->second;
}

}  // namespace

ImageDrawing ParseImageDrawing(std::wstring_view drawString, std::wstring_view modifier, const CDpiScaler& scaler,
                                 const VariantExists& variantExists) {
  ImageDrawing drawing;
  drawing.drawString.assign(drawString);
  drawing.drawString.append(modifier);
  const AttributeMap keys = MergedKeys(drawString, modifier);

  const std::wstring* file = Find(keys, L"file");
  const std::wstring* res = Find(keys, L"res");
  // Both keys name the picture; applied in key order, "res" comes last.
  if (file) drawing.name = *file;
  if (res) drawing.name = *res;
  if (!file && !res) drawing.name.assign(drawString);
  if (const std::wstring* type = Find(keys, L"restype")) drawing.resType = *type;

  UiRect dest, source, corner;
  if (const std::wstring* v = Find(keys, L"dest")) dest = ParseRect(*v);
  if (const std::wstring* v = Find(keys, L"source")) source = ParseRect(*v);
  if (const std::wstring* v = Find(keys, L"corner")) corner = ParseRect(*v);
  if (const std::wstring* v = Find(keys, L"mask")) drawing.mask = ParseColour(*v);
  if (const std::wstring* v = Find(keys, L"fade")) drawing.fade = static_cast<uint8_t>(std::clamp(ParseInteger(*v), 0, 255));
  if (const std::wstring* v = Find(keys, L"hole")) drawing.hole = ParseBool(*v);
  if (const std::wstring* v = Find(keys, L"xtiled")) drawing.xtiled = ParseBool(*v);
  if (const std::wstring* v = Find(keys, L"ytiled")) drawing.ytiled = ParseBool(*v);
  if (const std::wstring* v = Find(keys, L"hsl")) drawing.hsl = ParseBool(*v);
  if (const std::wstring* v = Find(keys, L"iconsize")) drawing.iconSize = ParseSize(*v);
  if (const std::wstring* v = Find(keys, L"iconalign")) drawing.iconAlign = *v;

  // SVG pictures render at the window's own scale; raster pictures exist
  // only at the skin's steps, so a scale between or above them (225 %,
  // 300 %) takes the step below and is stretched from there rather than
  // from the 100 % picture.
  const int scale = scaler.Scale();
  const int pictureScale = IsSvgName(drawing.name) ? scale : PictureStepScale(scale);
  if (pictureScale != 100 && !drawing.name.empty() && drawing.resType.empty()) {
    const std::wstring variant = DpiVariantName(drawing.name, pictureScale);
    if (variant != drawing.name && (IsSvgName(variant) || (variantExists && variantExists(variant)))) {
      drawing.name = variant;
      drawing.dpiPicture = true;
    }
  }

  const std::wstring scaleText = DecimalText(scale);
  if (const std::wstring* v = Find(keys, L"dest" + scaleText)) {
    drawing.dest = ParseRect(*v);
  } else {
    drawing.dest = scaler.ScaleRect(dest);
  }
  // Source and corner are pixels of the picture, so they follow the scale
  // the picture was drawn for.
  CDpiScaler pictureScaler;
  pictureScaler.SetDpi(MulDivRound(pictureScale, 96, 100));
  if (const std::wstring* v = Find(keys, L"source" + scaleText)) {
    drawing.source = ParseRect(*v);
  } else {
    drawing.source = drawing.dpiPicture ? pictureScaler.ScaleRect(source) : source;
  }
  // Corners are four sizes, not a rectangle: each scales on its own.
  drawing.corner = drawing.dpiPicture
                       ? UiRect{pictureScaler.ScaleValue(corner.left), pictureScaler.ScaleValue(corner.top),
                                pictureScaler.ScaleValue(corner.right), pictureScaler.ScaleValue(corner.bottom)}
                       : corner;
  return drawing;
}

}  // namespace SkinUI

namespace SkinUI {

UiRect ImageDestination(const UiRect& item, const UiRect& dest) {
  if (dest.IsZero()) return item;
  UiRect result;
  result.left = item.left + dest.left;
  result.top = item.top + dest.top;
  result.right = std::min(item.right, item.left + dest.right);
  result.bottom = std::min(item.bottom, item.top + dest.bottom);
  if (result.right < item.left) {
    result.left = item.right + dest.left;
    result.right = result.right + item.Width();
  }
  if (result.bottom < item.top) {
    result.top = item.bottom + dest.top;
    result.bottom = result.bottom + item.Height();
  }
  return result;
}

UiRect ImageSource(const UiRect& source, int pictureWidth, int pictureHeight) {
  if (source.IsZero()) return {0, 0, pictureWidth, pictureHeight};
  UiRect result = source;
  result.right = std::min(result.right, pictureWidth);
  result.bottom = std::min(result.bottom, pictureHeight);
  return result;
}

}  // namespace SkinUI
