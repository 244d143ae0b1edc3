#include "ui/building/built_in_controls.h"

#include <algorithm>

namespace SkinUI {

bool IsBuiltInControlElement(std::wstring_view element) {
#define NEB_ELEMENT_NAME(element) L## #element,
  static constexpr std::wstring_view kElements[] = {NEB_BUILT_IN_CONTROLS(NEB_ELEMENT_NAME)};
#undef NEB_ELEMENT_NAME
  const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
  return std::any_of(std::begin(kElements), std::end(kElements), [&](std::wstring_view known) {
    return known.size() == element.size() &&
           std::equal(known.begin(), known.end(), element.begin(), [&](wchar_t a, wchar_t b) { return lower(a) == lower(b); });
  });
}

}  // namespace SkinUI
