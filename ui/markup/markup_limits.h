// How far a window's markup may reach: how deep its elements nest, how deep
// and how often its includes go, and how much the whole expansion (the
// markup and everything it includes, each include as often as it is built)
// may read. The layout builder stops at each limit; the skin check reports
// where a markup crosses one. No Windows calls here.
#pragma once

#include <cstddef>

namespace SkinUI {

// Elements nested deeper than this below the root are left out with
// everything inside them, so that no markup can exhaust the stack.
constexpr int kMaxElementDepth = 256;
// Includes nested deeper than this are left out.
constexpr int kMaxIncludeDepth = 16;
// An `Include` builds its source at most this many times.
constexpr int kMaxIncludeCount = 1000;

// What one expansion has read. A file that would take it past either limit
// is left out, and so is every file after it: a file that includes itself a
// few times, a few levels deep, would otherwise be read billions of times.
class ExpansionBudget {
 public:
  static constexpr size_t kMostElements = 50000;
  static constexpr size_t kMostCharacters = size_t{16} << 20;

  // Charges a parsed file; false, and from then on always false, when it
  // does not fit.
  bool Take(size_t characters, size_t elements) {
    if (cut_ || characters > kMostCharacters - characters_ || elements > kMostElements - elements_) {
      cut_ = true;
      return false;
    }
    characters_ += characters;
    elements_ += elements;
    return true;
  }
  bool Cut() const { return cut_; }

 private:
  size_t characters_ = 0;
  size_t elements_ = 0;
  bool cut_ = false;
};

}  // namespace SkinUI
