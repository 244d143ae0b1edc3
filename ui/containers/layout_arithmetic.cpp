#include "ui/containers/layout_arithmetic.h"

#include <algorithm>

namespace SkinUI {

namespace {

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }
int OrMax(int fixed, int maximum) { return fixed > 0 ? fixed : maximum; }

bool TakesPart(const LayoutRequest& child) { return child.visible && !child.floating; }

// One axis of a box layout: "main" is the axis the children follow, "cross"
// the other. Horizontal layouts map main to x, vertical ones to y.
struct Axis {
  int LayoutRequest::*fixedMain, LayoutRequest::*minMain, LayoutRequest::*maxMain;
  int LayoutRequest::*fixedCross, LayoutRequest::*minCross, LayoutRequest::*maxCross;
  int UiRect::*leadPad, UiRect::*trailPad, UiRect::*crossLeadPad, UiRect::*crossTrailPad;
  int UiSize::*main, UiSize::*cross;
};

constexpr Axis kHorizontal{&LayoutRequest::fixedWidth, &LayoutRequest::minWidth, &LayoutRequest::maxWidth,
                           &LayoutRequest::fixedHeight, &LayoutRequest::minHeight, &LayoutRequest::maxHeight,
                           &UiRect::left, &UiRect::right, &UiRect::top, &UiRect::bottom,
                           &UiSize::cx, &UiSize::cy};
constexpr Axis kVertical{&LayoutRequest::fixedHeight, &LayoutRequest::minHeight, &LayoutRequest::maxHeight,
                         &LayoutRequest::fixedWidth, &LayoutRequest::minWidth, &LayoutRequest::maxWidth,
                         &UiRect::top, &UiRect::bottom, &UiRect::left, &UiRect::right,
                         &UiSize::cy, &UiSize::cx};

UiSize Available(const Axis& axis, int main, int cross) {
  UiSize size;
  size.*axis.main = main;
  size.*axis.cross = cross;
  return size;
}

// The first pass over the children: the room the fixed ones take, and the
// share of each child that leaves its size to the layout.
struct BoxPlan {
  int fixedTotal = 0;
  int adjustable = 0;
  int expand = 0;
  int remainder = 0;
};

BoxPlan Estimate(const Axis& axis, const std::vector<LayoutRequest>& children, int mainSpace, int crossSpace,
                 int gap) {
  BoxPlan plan;
  int estimated = 0;
  for (const LayoutRequest& child : children) {
    if (!TakesPart(child)) continue;
    const UiRect& pad = child.padding;
    const int crossPads = pad.*axis.crossLeadPad + pad.*axis.crossTrailPad;
    const int mainWant = OrMax(child.*axis.fixedMain, child.*axis.maxMain);
    const int crossWant = OrMax(child.*axis.fixedCross, child.*axis.maxCross);
    const UiSize size =
        child.Measure(Available(axis, std::min(mainWant, mainSpace), std::min(crossWant, crossSpace - crossPads)));
    int main = size.*axis.main;
    if (main == 0) ++plan.adjustable;
    else main = Clamp(main, child.*axis.minMain, child.*axis.maxMain);
    plan.fixedTotal += pad.*axis.leadPad + pad.*axis.trailPad + main;
    ++estimated;
  }
  if (estimated > 0) plan.fixedTotal += (estimated - 1) * gap;
  if (plan.adjustable > 0) {
    const int left = mainSpace - plan.fixedTotal;
    plan.expand = std::max(0, left / plan.adjustable);
    plan.remainder = left > 0 ? left % plan.adjustable : 0;
  }
  return plan;
}

// `crossPosition` places a child of the given cross size across the inner
// rectangle and returns its leading coordinate.
template <typename CrossPosition>
LayoutResult ArrangeBox(const Axis& axis, const std::vector<LayoutRequest>& children, const UiRect& inner, int gap,
                        bool expandBalance, bool horizontal, CrossPosition crossPosition) {
  int mainSpace = horizontal ? inner.Width() : inner.Height();
  const int crossSpace = horizontal ? inner.Height() : inner.Width();
  const BoxPlan plan = Estimate(axis, children, mainSpace, crossSpace, gap);

  LayoutResult result(children.size());
  int position = horizontal ? inner.left : inner.top;
  int fixedRemaining = plan.fixedTotal;
  int remainder = expandBalance ? plan.remainder : 0;
  bool first = true;
  int adjustableSeen = 0;
  for (size_t i = 0; i < children.size(); ++i) {
    const LayoutRequest& child = children[i];
    if (!TakesPart(child)) continue;
    const UiRect& pad = child.padding;
    const int lead = pad.*axis.leadPad, trail = pad.*axis.trailPad;
    const int crossPads = pad.*axis.crossLeadPad + pad.*axis.crossTrailPad;
    mainSpace -= lead;
    const int crossLimit = std::min(OrMax(child.*axis.fixedCross, child.*axis.maxCross), crossSpace - crossPads);
    fixedRemaining -= lead + trail;
    if (!first) fixedRemaining -= gap;
    first = false;

    const UiSize size =
        child.Measure(Available(axis, std::min(OrMax(child.*axis.fixedMain, child.*axis.maxMain), mainSpace),
                                crossLimit));
    int main = size.*axis.main;
    if (main != 0) {
      main = Clamp(main, child.*axis.minMain, child.*axis.maxMain);
      fixedRemaining -= main;
    } else {
      ++adjustableSeen;
      main = plan.expand;
      if (remainder > 0) {
        ++main;
        --remainder;
      }
      if (adjustableSeen == plan.adjustable) main = std::max(0, mainSpace - fixedRemaining - trail);
      main = Clamp(main, child.*axis.minMain, child.*axis.maxMain);
    }
    int cross = size.*axis.cross > 0 ? size.*axis.cross : crossSpace - crossPads;
    cross = Clamp(std::min(cross, crossLimit), child.*axis.minCross, child.*axis.maxCross);

    const int crossLead = crossPosition(child, cross);
    UiRect rect;
    if (horizontal) rect = {position + lead, crossLead, position + lead + main, crossLead + cross};
    else rect = {crossLead, position + lead, crossLead + cross, position + lead + main};
    result[i] = rect;
    position += main + lead + trail + gap;
    mainSpace -= main + trail + gap;
  }
  return result;
}

}  // namespace

UiSize LayoutRequest::Measure(UiSize available) const {
  return measure ? measure(available) : UiSize{fixedWidth, fixedHeight};
}

LayoutResult ArrangeStacked(const std::vector<LayoutRequest>& children, const UiRect& inner) {
  LayoutResult result(children.size());
  for (size_t i = 0; i < children.size(); ++i) {
    const LayoutRequest& child = children[i];
    if (!TakesPart(child)) continue;
    const int width = Clamp(inner.Width(), child.minWidth, child.maxWidth);
    const int height = Clamp(inner.Height(), child.minHeight, child.maxHeight);
    result[i] = UiRect{inner.left, inner.top, inner.left + width, inner.top + height};
  }
  return result;
}

LayoutResult ArrangeHorizontal(const std::vector<LayoutRequest>& children, const UiRect& inner, int gap,
                               int childVAlign, bool expandBalance) {
  return ArrangeBox(kHorizontal, children, inner, gap, expandBalance, true,
                    [&inner, childVAlign](const LayoutRequest& child, int height) {
                      if (childVAlign == kVAlignCenter) return (inner.top + inner.bottom) / 2 - height / 2;
                      if (childVAlign == kVAlignBottom) return inner.bottom - child.padding.bottom - height;
                      return inner.top + child.padding.top;
                    });
}

LayoutResult ArrangeVertical(const std::vector<LayoutRequest>& children, const UiRect& inner, int gap) {
  return ArrangeBox(kVertical, children, inner, gap, false, false,
                    [&inner](const LayoutRequest& child, int width) {
                      if (child.align == 1) return (inner.left + inner.right) / 2 - width / 2;
                      if (child.align == 2) return inner.right - child.padding.right - width;
                      return inner.left + child.padding.left;
                    });
}

UiRect ArrangeTabPage(const LayoutRequest& page, const UiRect& inner) {
  const UiRect space{inner.left + page.padding.left, inner.top + page.padding.top,
                     inner.right - page.padding.right, inner.bottom - page.padding.bottom};
  const UiSize size = page.Measure({space.Width(), space.Height()});
  const int width = Clamp(size.cx > 0 ? size.cx : space.Width(), page.minWidth, page.maxWidth);
  const int height = Clamp(size.cy > 0 ? size.cy : space.Height(), page.minHeight, page.maxHeight);
  return {space.left, space.top, space.left + width, space.top + height};
}

UiRect PlaceFloating(const FloatRequest& child, const UiRect& container) {
  if (child.align != 0) {
    int x = child.x, y = child.y;
    if (child.align & 0x1) x = (container.Width() - child.width) / 2;
    else if (child.align & 0x2) x = container.Width() - child.width;
    if (child.align & 0x4) y = (container.Height() - child.height) / 2;
    else if (child.align & 0x8) y = container.Height() - child.height;
    return {container.left + x, container.top + y, container.left + x + child.width,
            container.top + y + child.height};
  }
  const int width = container.Width(), height = container.Height();
  return {container.left + static_cast<int>(width * child.percentLeft) + child.x,
          container.top + static_cast<int>(height * child.percentTop) + child.y,
          container.left + static_cast<int>(width * child.percentRight) + child.width + child.x,
          container.top + static_cast<int>(height * child.percentBottom) + child.height + child.y};
}

}  // namespace SkinUI
