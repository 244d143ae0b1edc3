#include "ui/render/round_clip.h"

namespace SkinUI {

CRoundClip::CRoundClip(HDC dc, const RECT& item, const RECT& dirty, int cornerWidth, int cornerHeight) : dc_(dc) {
  saved_ = CreateRectRgn(0, 0, 0, 0);
  hadClip_ = saved_ && GetClipRgn(dc, saved_) == 1;
  HRGN round = CreateRoundRectRgn(item.left, item.top, item.right + 1, item.bottom + 1, cornerWidth, cornerHeight);
  HRGN bounds = CreateRectRgnIndirect(&dirty);
  if (round && bounds) {
    CombineRgn(round, round, bounds, RGN_AND);
    ExtSelectClipRgn(dc, round, RGN_AND);
  }
  if (round) DeleteObject(round);
  if (bounds) DeleteObject(bounds);
}

CRoundClip::~CRoundClip() {
  SelectClipRgn(dc_, hadClip_ ? saved_ : nullptr);
  if (saved_) DeleteObject(saved_);
}

}  // namespace SkinUI
