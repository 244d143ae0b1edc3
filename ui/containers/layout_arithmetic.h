// The arithmetic of the layout containers over plain rectangles: what each
// child asks for goes in, the rectangle it gets comes out. No window is
// involved, so the rules are tested as tables of cases.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "ui/geometry/ui_rect.h"

namespace SkinUI {

// What one child asks of its container, with every size already scaled.
struct LayoutRequest {
  bool visible = true;
  bool floating = false;
  int fixedWidth = 0;   // 0: none
  int fixedHeight = 0;  // 0: none
  int minWidth = 0;
  int minHeight = 0;
  int maxWidth = 9999;
  int maxHeight = 9999;
  UiRect padding;
  // The child's own horizontal alignment in a vertical layout: 0 left,
  // 1 centre, 2 right (the container resolves its default beforehand).
  int align = 0;
  // The child's size estimate for an available size; 0 in a direction
  // leaves that direction to the layout. Without one: the fixed size.
  std::function<UiSize(UiSize available)> measure;

  UiSize Measure(UiSize available) const;
};

// Vertical alignment of the children of a horizontal layout.
enum ChildVAlign { kVAlignTop = 0, kVAlignCenter = 4, kVAlignBottom = 8 };

// The rectangle of every child, in order; none for invisible and floating
// children (floating ones are placed by their own rules).
using LayoutResult = std::vector<std::optional<UiRect>>;

// Every child gets the whole inner rectangle, clamped to its limits.
LayoutResult ArrangeStacked(const std::vector<LayoutRequest>& children, const UiRect& inner);
// Side by side; `gap` between neighbours. With `expandBalance` the pixels
// that the equal share leaves over go one each to the first stretching children.
LayoutResult ArrangeHorizontal(const std::vector<LayoutRequest>& children, const UiRect& inner, int gap,
                               int childVAlign, bool expandBalance);
// Top to bottom, `gap` between neighbours; each child aligned by its `align`.
LayoutResult ArrangeVertical(const std::vector<LayoutRequest>& children, const UiRect& inner, int gap);
// A tab page: the inner rectangle less its padding, at its measured size.
UiRect ArrangeTabPage(const LayoutRequest& page, const UiRect& inner);

// What a floating child asks for: its fixed position and size, its
// alignment bits (1 centre, 2 right, 4 vcentre, 8 bottom) and its position
// in fractions of the container.
struct FloatRequest {
  int x = 0, y = 0, width = 0, height = 0;
  unsigned align = 0;
  double percentLeft = 0, percentTop = 0, percentRight = 0, percentBottom = 0;
};
// Relative to the container's item rectangle, not limited to its inner part.
UiRect PlaceFloating(const FloatRequest& child, const UiRect& container);

}  // namespace SkinUI
