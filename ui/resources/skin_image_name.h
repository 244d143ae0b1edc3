// The naming rules of skin pictures: DPI variants ("Image/Btn@150.png") and
// the scale that an SVG name carries ("Image/Close@125.svg").
#pragma once

#include <string>
#include <string_view>

namespace SkinUI {

// The name with its first "." replaced by "@" + scale + "."; the name itself
// when it has no ".".
std::wstring DpiVariantName(std::wstring_view name, int scale);

bool IsSvgName(std::wstring_view name);

struct SvgRenderRequest {
  std::wstring entryName;  // the name without its "@N" part
  float scale = 1.0f;
};

// For a name with an "@" before its first ".", the number between them is
// the scale in percent and is cut out of the name; otherwise the scale is 1.
SvgRenderRequest ParseSvgRenderName(std::wstring_view name);

}  // namespace SkinUI
