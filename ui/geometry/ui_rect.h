// Plain geometry shared by the Win32-free parts of the framework: a
// rectangle and a size in pixels, with the arithmetic the parsers need.
#pragma once

namespace SkinUI {

struct UiRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  bool operator==(const UiRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const UiRect& other) const { return !(*this == other); }
};

struct UiSize {
  int cx = 0;
  int cy = 0;
  bool operator==(const UiSize& other) const { return cx == other.cx && cy == other.cy; }
};

}  // namespace SkinUI
