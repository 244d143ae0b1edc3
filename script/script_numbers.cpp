#include "script/script_numbers.h"

#include <cmath>

namespace {

constexpr double kInt64Bound = 9223372036854775808.0;  // 2^63

}  // namespace

int64_t ScriptInteger(lua_State* L, int index) {
  int isNumber = 0;
  const lua_Number value = lua_tonumberx(L, index, &isNumber);
  if (!isNumber) return 0;
  // nearbyint rounds in the current mode, which is to nearest, halves to even.
  const double rounded = std::nearbyint(value);
  if (!(rounded > -kInt64Bound && rounded < kInt64Bound)) return 0;
  return static_cast<int64_t>(rounded);
}

int32_t ScriptInteger32(lua_State* L, int index) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ScriptInteger(L, index))));
}
