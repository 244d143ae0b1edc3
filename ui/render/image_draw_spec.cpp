#include "ui/render/image_draw_spec.h"

#include <algorithm>

#include "ui/markup/attribute_list.h"
#include "ui/markup/value_formats.h"
#include "ui/resources/skin_image_name.h"

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

ImageDrawSpec ParseImageDrawSpec(std::wstring_view drawString, std::wstring_view modifier, const CDpiScaler& scaler,
                                 const VariantExists& variantExists) {
  ImageDrawSpec spec;
  spec.drawString.assign(drawString);
  spec.drawString.append(modifier);
  const AttributeMap keys = MergedKeys(drawString, modifier);

  const std::wstring* file = Find(keys, L"file");
  const std::wstring* res = Find(keys, L"res");
  // Both keys name the picture; applied in key order, "res" comes last.
  if (file) spec.name = *file;
  if (res) spec.name = *res;
  if (!file && !res) spec.name.assign(drawString);
  if (const std::wstring* type = Find(keys, L"restype")) spec.resType = *type;

  UiRect dest, source, corner;
  if (const std::wstring* v = Find(keys, L"dest")) dest = ParseRect(*v);
  if (const std::wstring* v = Find(keys, L"source")) source = ParseRect(*v);
  if (const std::wstring* v = Find(keys, L"corner")) corner = ParseRect(*v);
  if (const std::wstring* v = Find(keys, L"mask")) spec.mask = ParseColour(*v);
  if (const std::wstring* v = Find(keys, L"fade")) spec.fade = static_cast<uint8_t>(std::clamp(ParseInteger(*v), 0, 255));
  if (const std::wstring* v = Find(keys, L"hole")) spec.hole = ParseBool(*v);
  if (const std::wstring* v = Find(keys, L"xtiled")) spec.xtiled = ParseBool(*v);
  if (const std::wstring* v = Find(keys, L"ytiled")) spec.ytiled = ParseBool(*v);
  if (const std::wstring* v = Find(keys, L"hsl")) spec.hsl = ParseBool(*v);
  if (const std::wstring* v = Find(keys, L"iconsize")) spec.iconSize = ParseSize(*v);
  if (const std::wstring* v = Find(keys, L"iconalign")) spec.iconAlign = *v;

  const int scale = scaler.Scale();
  if (scale != 100 && !spec.name.empty() && spec.resType.empty()) {
    const std::wstring variant = DpiVariantName(spec.name, scale);
    if (variant != spec.name && (IsSvgName(variant) || (variantExists && variantExists(variant)))) {
      spec.name = variant;
      spec.dpiPicture = true;
    }
  }

  const std::wstring scaleText = std::to_wstring(scale);
  if (const std::wstring* v = Find(keys, L"dest" + scaleText)) {
    spec.dest = ParseRect(*v);
  } else {
    spec.dest = scaler.ScaleRect(dest);
  }
  if (const std::wstring* v = Find(keys, L"source" + scaleText)) {
    spec.source = ParseRect(*v);
  } else {
    spec.source = spec.dpiPicture ? scaler.ScaleRect(source) : source;
  }
  // Corners are four sizes, not a rectangle: each scales on its own.
  spec.corner = spec.dpiPicture ? UiRect{scaler.ScaleValue(corner.left), scaler.ScaleValue(corner.top),
                                         scaler.ScaleValue(corner.right), scaler.ScaleValue(corner.bottom)}
                                : corner;
  return spec;
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
