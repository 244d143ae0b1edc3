#include "ui/resources/skin_image_name.h"

#include "ui/markup/value_formats.h"
#include "base/text_rules.h"

namespace SkinUI {

std::wstring DpiVariantName(std::wstring_view name, int scale) {
  const size_t dot = name.find(L'.');
  std::wstring variant(name);
  if (dot == std::wstring_view::npos) return variant;
  variant.replace(dot, 1, L"@" + DecimalText(scale) + L".");
  return variant;
}

bool IsSvgName(std::wstring_view name) { return name.find(L".svg") != std::wstring_view::npos; }

SvgRenderRequest ParseSvgRenderName(std::wstring_view name) {
  SvgRenderRequest request;
  request.entryName.assign(name);
  const size_t at = name.find(L'@');
  const size_t dot = name.find(L'.');
  if (at == std::wstring_view::npos || dot == std::wstring_view::npos || at > dot) return request;
  request.scale = static_cast<float>(ParseInteger(name.substr(at + 1, dot - at - 1))) / 100.0f;
  request.entryName.erase(at, dot - at);
  return request;
}

}  // namespace SkinUI
