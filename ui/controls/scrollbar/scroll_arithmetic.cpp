#include "ui/controls/scrollbar/scroll_arithmetic.h"

#include <algorithm>
#include <cstdint>

namespace SkinUI {

int ScrollRange(int content, int view) { return std::max(0, content - view); }

int ClampScroll(int position, int range) { return std::clamp(position, 0, std::max(0, range)); }

ThumbPlace PlaceThumb(int track, int view, int content, int position, int minLength) {
  track = std::max(0, track);
  const int range = ScrollRange(content, view);
  if (range == 0 || content <= 0) return {0, track};
  int length = static_cast<int>(static_cast<int64_t>(track) * view / content);
  length = std::min(track, std::max(length, minLength));
  const int travel = track - length;
  // Rounded to the nearest pixel, so that a dragged thumb stays where it
  // was dropped.
  const int offset =
      static_cast<int>((static_cast<int64_t>(travel) * ClampScroll(position, range) + range / 2) / range);
  return {offset, length};
}

int ScrollForThumb(int track, int thumbLength, int range, int thumbOffset) {
  const int travel = track - thumbLength;
  if (travel <= 0 || range <= 0) return 0;
  const int offset = std::clamp(thumbOffset, 0, travel);
  // Rounded to the nearest position, so the thumb lands where it was dropped.
  return static_cast<int>((static_cast<int64_t>(offset) * range + travel / 2) / travel);
}

int ScrollAfter(ScrollMove move, int position, int range, int view, int step) {
  const int page = std::max(step, view - step);
  switch (move) {
    case ScrollMove::kLineBack: position -= step; break;
    case ScrollMove::kLineForward: position += step; break;
    case ScrollMove::kPageBack: position -= page; break;
    case ScrollMove::kPageForward: position += page; break;
    case ScrollMove::kHome: position = 0; break;
    case ScrollMove::kEnd: position = range; break;
  }
  return ClampScroll(position, range);
}

}  // namespace SkinUI
