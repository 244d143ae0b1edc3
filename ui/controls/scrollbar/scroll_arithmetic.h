// The arithmetic of scrolling over plain numbers: how far a view can move
// over its content, where a scroll bar's thumb lies and which position a
// key, a page click or a dragged thumb gives. No window is involved, so the
// rules are tested as tables of cases.
#pragma once

namespace SkinUI {

// How far the view can move: 0 when the content fits.
int ScrollRange(int content, int view);
// `position` held inside 0..range.
int ClampScroll(int position, int range);

// The thumb on a track: its offset from the track's start and its length.
struct ThumbPlace {
  int offset = 0;
  int length = 0;
};
// The thumb is as long as the view's share of the content (at least
// `minLength`, at most the track) and sits where the position puts it; with
// nothing to scroll it fills the track.
ThumbPlace PlaceThumb(int track, int view, int content, int position, int minLength);
// The position that puts a thumb of `thumbLength` at `thumbOffset`.
int ScrollForThumb(int track, int thumbLength, int range, int thumbOffset);

enum class ScrollMove { kLineBack, kLineForward, kPageBack, kPageForward, kHome, kEnd };
// The position after a move: lines go by `step`, pages by the view less
// one step (so a line of the old page stays in sight), Home and End to the
// ends.
int ScrollAfter(ScrollMove move, int position, int range, int view, int step);

}  // namespace SkinUI
