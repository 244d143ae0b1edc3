#include "script/script_values.h"

#include "base/text.h"
#include "script/script_numbers.h"

std::wstring ArgText(lua_State* L, int index) {
  const int type = lua_type(L, index);
  if (type != LUA_TSTRING && type != LUA_TNUMBER) return {};
  // Converting a copy leaves a number argument a number for later readers.
  lua_pushvalue(L, index);
  size_t length = 0;
  const char* text = lua_tolstring(L, -1, &length);
  std::wstring result = Utf8ToWide({text, length});
  lua_pop(L, 1);
  return result;
}

int32_t ArgNumber(lua_State* L, int index) { return ScriptInteger32(L, index); }

bool ArgFlag(lua_State* L, int index) { return lua_toboolean(L, index) != 0; }

int ArgFromTop(lua_State* L, int fromTop) {
  const int top = lua_gettop(L);
  return fromTop <= top ? top - fromTop + 1 : top + 1;
}

void PushText(lua_State* L, const std::wstring& text) {
  const std::string utf8 = WideToUtf8(text);
  lua_pushlstring(L, utf8.data(), utf8.size());
}

void PushUnsigned(lua_State* L, uint32_t value) { lua_pushnumber(L, static_cast<lua_Number>(value)); }
