// Visits every element of a parsed markup tree in document order without
// recursion: a markup nested tens of thousands of elements deep is walked
// with the stack it started with. No Windows calls here.
#pragma once

#include "ui/markup/markup_node.h"

namespace SkinUI {

// Calls `visit(node, level)` for `top` (level 0) and every element inside
// it, where level counts the elements between the node and `top`. When
// `visit` returns false, what is inside that node is not visited.
template <typename Visit>
void ForEachElement(CMarkupNode top, Visit&& visit) {
  CMarkupNode node = top;
  int level = 0;
  while (node.IsValid()) {
    if (visit(node, level) && node.FirstChild().IsValid()) {
      node = node.FirstChild();
      ++level;
      continue;
    }
    // Up to the nearest element with a next sibling, never above `top`.
    while (level > 0 && !node.NextSibling().IsValid()) {
      node = node.Parent();
      --level;
    }
    if (level == 0) return;
    node = node.NextSibling();
  }
}

}  // namespace SkinUI
