// The markup elements that are no controls: the resource elements, which
// the layout builder registers with the window, and `Include`. No Windows
// calls here.
#pragma once

#include <cwchar>

namespace SkinUI {

inline bool IsResourceElement(const wchar_t* name) {
  for (const wchar_t* resource : {L"Image", L"Font", L"Default", L"Style", L"Import", L"Resource"}) {
    if (std::wcscmp(name, resource) == 0) return true;
  }
  return false;
}

inline bool IsIncludeElement(const wchar_t* name) { return std::wcscmp(name, L"Include") == 0; }

}  // namespace SkinUI
