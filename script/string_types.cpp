#include "script/string_types.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "base/text.h"
#include "script/script_numbers.h"
#include "script/script_values.h"
#include "script/string_block.h"
#include "script/type_metatable.h"

namespace {

struct WideKind {
  using Char = wchar_t;
  using Text = std::wstring;
  static constexpr const char* kMetaTable = kWStringMetaTable;

  static Text FromValue(lua_State* L, int index) { return ToWideText(L, index); }
  // A text assigned to one character: only strings and numbers count.
  static Text FromAssigned(lua_State* L, int index) { return ArgText(L, index); }
  static std::wstring ToWide(const Text& text) { return text; }
  static std::wstring UnitToWide(Char unit) { return std::wstring(1, unit); }
  static bool Equal(const Text& a, const Text& b) { return lstrcmpW(a.c_str(), b.c_str()) == 0; }
};

struct NarrowKind {
  using Char = char;
  using Text = std::string;
  static constexpr const char* kMetaTable = kAStringMetaTable;

  static Text FromValue(lua_State* L, int index) { return ToNarrowText(L, index); }
  static Text FromAssigned(lua_State* L, int index) { return WideToAnsi(ArgText(L, index)); }
  static std::wstring ToWide(const Text& text) { return AnsiToWide(text); }
  // One byte read on its own through the ANSI code page: the character it
  // stands for in a single-byte code page; a lead byte of a double-byte
  // character gives what the system substitutes for an incomplete one.
  static std::wstring UnitToWide(Char unit) { return AnsiToWide(std::string_view(&unit, 1)); }
  static bool Equal(const Text& a, const Text& b) { return lstrcmpA(a.c_str(), b.c_str()) == 0; }
};

template <typename Kind>
struct Block {
  typename Kind::Char* units;
  size_t size;

  size_t TextLength() const { return BlockTextLength(units, size); }
  typename Kind::Text Text() const { return typename Kind::Text(units, TextLength()); }
};

template <typename Kind>
Block<Kind> CheckBlock(lua_State* L, int index) {
  using Char = typename Kind::Char;
  auto* units = static_cast<Char*>(luaL_checkudata(L, index, Kind::kMetaTable));
  return {units, lua_rawlen(L, index) / sizeof(Char)};
}

template <typename Kind>
void PushUtf8(lua_State* L, const typename Kind::Text& text) {
  const std::string utf8 = WideToUtf8(Kind::ToWide(text));
  lua_pushlstring(L, utf8.data(), utf8.size());
}

// A zero-filled block of `units` units starting with `text`, which is
// shorter than the block.
template <typename Kind>
void PushBlock(lua_State* L, size_t units, const typename Kind::Text& text) {
  using Char = typename Kind::Char;
  auto* block = static_cast<Char*>(lua_newuserdata(L, BlockBytes(units, sizeof(Char))));
  std::fill_n(block, units, Char{});
  std::copy(text.begin(), text.end(), block);
  luaL_setmetatable(L, Kind::kMetaTable);
}

// New(capacity, init)
template <typename Kind>
int New(lua_State* L) {
  const lua_Integer capacity = ScriptInteger(L, 1);
  const bool hasInitialText = lua_gettop(L) >= 2;
  const typename Kind::Text text = hasInitialText ? Kind::FromValue(L, 2) : typename Kind::Text();
  const auto units = NewBlockUnits(capacity, hasInitialText, text.size());
  if (!units) {
    lua_pushnil(L);
    return 1;
  }
  PushBlock<Kind>(L, *units, text);
  return 1;
}

// s[i]: the character at 0-based index i, the empty string at the
// terminator, nil before the block and at or past its end.
template <typename Kind>
int Index(lua_State* L) {
  const Block<Kind> block = CheckBlock<Kind>(L, 1);
  const lua_Integer index = ScriptInteger(L, 2);
  if (index < 0 || static_cast<uint64_t>(index) >= block.size) {
    lua_pushnil(L);
    return 1;
  }
  const typename Kind::Char unit = block.units[index];
  const std::string utf8 = unit ? WideToUtf8(Kind::UnitToWide(unit)) : std::string();
  lua_pushlstring(L, utf8.data(), utf8.size());
  return 1;
}

// s[i] = v: replaces the character at i with the first unit of v's text.
template <typename Kind>
int NewIndex(lua_State* L) {
  const Block<Kind> block = CheckBlock<Kind>(L, 1);
  const lua_Integer index = ScriptInteger(L, 2);
  const typename Kind::Text value = Kind::FromAssigned(L, 3);
  if (IsReplaceableIndex(index, block.TextLength()) && !value.empty()) block.units[index] = value[0];
  return 0;
}

template <typename Kind>
int Length(lua_State* L) {
  lua_pushinteger(L, static_cast<lua_Integer>(CheckBlock<Kind>(L, 1).TextLength()));
  return 1;
}

template <typename Kind>
int ToString(lua_State* L) {
  PushUtf8<Kind>(L, CheckBlock<Kind>(L, 1).Text());
  return 1;
}

// a .. b: a new value of this metamethod's type, whichever operand it is.
template <typename Kind>
int Concat(lua_State* L) {
  typename Kind::Text joined = Kind::FromValue(L, 1);
  joined += Kind::FromValue(L, 2);
  PushBlock<Kind>(L, joined.size() + 1, joined);
  return 1;
}

// a == b: the system's locale-aware, case-sensitive comparison.
template <typename Kind>
int Equal(lua_State* L) {
  bool equal = false;
  if (luaL_testudata(L, 1, Kind::kMetaTable) && luaL_testudata(L, 2, Kind::kMetaTable)) {
    equal = Kind::Equal(CheckBlock<Kind>(L, 1).Text(), CheckBlock<Kind>(L, 2).Text());
  }
  lua_pushboolean(L, equal);
  return 1;
}

template <typename Kind>
const luaL_Reg kMetamethods[] = {
    {"__index", Index<Kind>},       {"__newindex", NewIndex<Kind>}, {"__len", Length<Kind>},
    {"__tostring", ToString<Kind>}, {"__concat", Concat<Kind>},     {"__eq", Equal<Kind>},
    {nullptr, nullptr},
};

template <typename Kind>
int Open(lua_State* L) {
  PushTypeMetatable(L, Kind::kMetaTable, kMetamethods<Kind>);
  lua_pop(L, 1);
  lua_createtable(L, 0, 1);
  lua_pushcfunction(L, New<Kind>);
  lua_setfield(L, -2, "New");
  return 1;
}

}  // namespace

int OpenWString(lua_State* L) { return Open<WideKind>(L); }
int OpenAString(lua_State* L) { return Open<NarrowKind>(L); }
