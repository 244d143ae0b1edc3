#include "script/string_values.h"

#include "base/text.h"
#include "script/script_values.h"
#include "script/string_block.h"

namespace {

template <typename Char>
std::optional<std::basic_string_view<Char>> BlockText(lua_State* L, int index, const char* metaTable) {
  const auto* block = static_cast<const Char*>(luaL_testudata(L, index, metaTable));
  if (!block) return std::nullopt;
  const size_t units = lua_rawlen(L, index) / sizeof(Char);
  return std::basic_string_view<Char>(block, BlockTextLength(block, units));
}

}  // namespace

std::optional<std::wstring_view> WStringText(lua_State* L, int index) {
  return BlockText<wchar_t>(L, index, kWStringMetaTable);
}

std::optional<std::string_view> AStringText(lua_State* L, int index) {
  return BlockText<char>(L, index, kAStringMetaTable);
}

std::wstring ToWideText(lua_State* L, int index) {
  if (const auto wide = WStringText(L, index)) return std::wstring(*wide);
  if (const auto narrow = AStringText(L, index)) return AnsiToWide(*narrow);
  return ArgText(L, index);
}

std::string ToNarrowText(lua_State* L, int index) {
  if (const auto narrow = AStringText(L, index)) return std::string(*narrow);
  if (const auto wide = WStringText(L, index)) return WideToAnsi(*wide);
  return WideToAnsi(ArgText(L, index));
}
