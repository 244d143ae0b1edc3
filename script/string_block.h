// The arithmetic of the script string blocks (WString, AString): how large
// New makes them, where their text ends and which characters may be
// replaced. A block is N units (UTF-16 units or ANSI bytes) whose text runs
// to the first zero unit.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

// The units of the block New makes for `capacity` and an initial text of
// `textUnits` units, or nothing when New returns nil (a capacity below 1 and
// no initial text argument). The block is the capacity when that exceeds
// the text's length, otherwise just large enough for the text and its
// terminator.
std::optional<size_t> NewBlockUnits(int64_t capacity, bool hasInitialText, size_t textUnits);

// The bytes of a block of `units` units; SIZE_MAX when that does not fit in
// memory's address range, which the script library refuses with its memory
// error.
size_t BlockBytes(size_t units, size_t unitSize);

// The units before the first zero; the whole block when a native function
// filled it without a terminator, so a reader never goes past its end.
template <typename Char>
size_t BlockTextLength(const Char* block, size_t units) {
  return static_cast<size_t>(std::find(block, block + units, Char{}) - block);
}

// Whether `s[index] = v` replaces a character of a text of `textUnits`
// units: never the first one, and never at or past the terminator, so the
// text cannot grow.
bool IsReplaceableIndex(int64_t index, size_t textUnits);
