// The scrolling rules as tables: this content in this view, this thumb,
// this key, this position.
#include <gtest/gtest.h>

#include "ui/controls/scrollbar/scroll_arithmetic.h"

namespace SkinUI {
namespace {

TEST(ScrollArithmeticTest, RangeIsWhatTheContentExceedsTheView) {
  struct Case { int content, view, range; };
  const Case cases[] = {{1000, 300, 700}, {300, 300, 0}, {200, 300, 0}, {0, 0, 0}};
  for (const Case& c : cases) EXPECT_EQ(ScrollRange(c.content, c.view), c.range) << c.content << " in " << c.view;
}

TEST(ScrollArithmeticTest, ThumbShowsTheViewsShareAndThePosition) {
  struct Case { int track, view, content, position, minLength, offset, length; };
  const Case cases[] = {
      {300, 300, 1200, 0, 16, 0, 75},      // a quarter of the content in sight
      {300, 300, 1200, 900, 16, 225, 75},  // at the end the thumb touches the track's end
      {300, 300, 1200, 450, 16, 113, 75},  // half way
      {300, 300, 1200, 5000, 16, 225, 75}, // a position past the range is held at the end
      {300, 300, 60000, 0, 16, 0, 16},     // a huge content keeps a thumb one can grab
      {300, 300, 200, 0, 16, 0, 300},      // nothing to scroll: the thumb fills the track
      {10, 300, 1200, 0, 16, 0, 10},       // a track shorter than the least thumb
  };
  for (const Case& c : cases) {
    const ThumbPlace thumb = PlaceThumb(c.track, c.view, c.content, c.position, c.minLength);
    EXPECT_EQ(thumb.offset, c.offset) << c.position << " of " << c.content;
    EXPECT_EQ(thumb.length, c.length) << c.position << " of " << c.content;
  }
}

TEST(ScrollArithmeticTest, DraggedThumbGivesThePositionItWasDroppedAt) {
  struct Case { int track, thumb, range, offset, position; };
  const Case cases[] = {
      {300, 75, 900, 0, 0}, {300, 75, 900, 225, 900}, {300, 75, 900, 112, 448}, {300, 75, 900, -40, 0},
      {300, 75, 900, 400, 900}, {300, 300, 0, 50, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ScrollForThumb(c.track, c.thumb, c.range, c.offset), c.position) << c.offset;
  // Placing the thumb for a dragged position puts it back where it was.
  for (int offset = 0; offset <= 225; ++offset) {
    EXPECT_EQ(PlaceThumb(300, 300, 1200, ScrollForThumb(300, 75, 900, offset), 16).offset, offset);
  }
}

TEST(ScrollArithmeticTest, MovesStayInsideTheRange) {
  struct Case { ScrollMove move; int position, after; };
  // A range of 900, a view of 300, a step of 60: a page is 240.
  const Case cases[] = {
      {ScrollMove::kLineForward, 0, 60},   {ScrollMove::kLineBack, 30, 0},    {ScrollMove::kLineForward, 880, 900},
      {ScrollMove::kPageForward, 0, 240},  {ScrollMove::kPageBack, 500, 260}, {ScrollMove::kPageBack, 100, 0},
      {ScrollMove::kPageForward, 800, 900}, {ScrollMove::kHome, 470, 0},      {ScrollMove::kEnd, 10, 900},
  };
  for (const Case& c : cases) EXPECT_EQ(ScrollAfter(c.move, c.position, 900, 300, 60), c.after) << c.position;
  // A view smaller than two steps still pages by a step.
  EXPECT_EQ(ScrollAfter(ScrollMove::kPageForward, 0, 900, 80, 60), 60);
  // Nothing to scroll: every move stays at 0.
  EXPECT_EQ(ScrollAfter(ScrollMove::kEnd, 0, 0, 300, 60), 0);
}

}  // namespace
}  // namespace SkinUI
