// A rectangular clip for the length of a scope, within the clip already set.
#pragma once

#include <windows.h>

namespace SkinUI {

class CRectClip {
 public:
  CRectClip(HDC dc, const RECT& rect) : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0)) {
    hadClip_ = saved_ && GetClipRgn(dc, saved_) == 1;
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  }
  ~CRectClip() {
    SelectClipRgn(dc_, hadClip_ ? saved_ : nullptr);
    if (saved_) DeleteObject(saved_);
  }
  CRectClip(const CRectClip&) = delete;
  CRectClip& operator=(const CRectClip&) = delete;

 private:
  HDC dc_;
  HRGN saved_;
  bool hadClip_ = false;
};

}  // namespace SkinUI
