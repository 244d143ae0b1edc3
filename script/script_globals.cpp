#include "script/script_globals.h"

#include "base/text.h"

std::wstring GetGlobalText(lua_State* L, const char* name) {
  lua_getglobal(L, name);
  size_t length = 0;
  const char* text = lua_tolstring(L, -1, &length);
  std::wstring result = text ? Utf8ToWide({text, length}) : std::wstring();
  lua_pop(L, 1);
  return result;
}

int GetGlobalNumber(lua_State* L, const char* name) {
  lua_getglobal(L, name);
  const int value = static_cast<int>(lua_tointeger(L, -1));
  lua_pop(L, 1);
  return value;
}

bool GetGlobalFlag(lua_State* L, const char* name) {
  lua_getglobal(L, name);
  const bool value = lua_toboolean(L, -1) != 0;
  lua_pop(L, 1);
  return value;
}

void SetGlobalText(lua_State* L, const char* name, const std::wstring& value) {
  const std::string utf8 = WideToUtf8(value);
  lua_pushlstring(L, utf8.data(), utf8.size());
  lua_setglobal(L, name);
}

void SetGlobalNumber(lua_State* L, const char* name, int value) {
  lua_pushinteger(L, value);
  lua_setglobal(L, name);
}

void SetGlobalFlag(lua_State* L, const char* name, bool value) {
  lua_pushboolean(L, value ? 1 : 0);
  lua_setglobal(L, name);
}
