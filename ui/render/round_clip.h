// A rounded clip region for the length of a scope: the item rectangle with
// its corner ellipse, within the dirty rectangle and the clip already set.
#pragma once

#include <windows.h>

namespace SkinUI {

class CRoundClip {
 public:
  CRoundClip(HDC dc, const RECT& item, const RECT& dirty, int cornerWidth, int cornerHeight);
  ~CRoundClip();
  CRoundClip(const CRoundClip&) = delete;
  CRoundClip& operator=(const CRoundClip&) = delete;

 private:
  HDC dc_;
  HRGN saved_ = nullptr;
  bool hadClip_ = false;
};

}  // namespace SkinUI
