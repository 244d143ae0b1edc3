// The framework's rectangle and the Win32 one, each into the other: the
// Win32-free arithmetic works on UiRect, the drawing and the window on RECT.
#pragma once

#include <windows.h>

#include "ui/geometry/ui_rect.h"

namespace SkinUI {

inline UiRect ToUiRect(const RECT& rect) {
  return {static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
          static_cast<int>(rect.bottom)};
}

inline RECT ToRect(const UiRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace SkinUI
