#include "script/string_block.h"

std::optional<size_t> NewBlockUnits(int64_t capacity, bool hasInitialText, size_t textUnits) {
  if (!hasInitialText && capacity < 1) return std::nullopt;
  if (capacity > 0 && static_cast<uint64_t>(capacity) > textUnits) return static_cast<size_t>(capacity);
  return textUnits + 1;
}

size_t BlockBytes(size_t units, size_t unitSize) {
  if (units > SIZE_MAX / unitSize) return SIZE_MAX;
  return units * unitSize;
}

bool IsReplaceableIndex(int64_t index, size_t textUnits) {
  return index >= 1 && static_cast<uint64_t>(index) < textUnits;
}
