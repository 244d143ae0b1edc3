#include "script/script_globals.h"

#include <functional>

#include "base/text.h"
#include "script/script_error.h"
#include "script/script_numbers.h"

namespace {

// Reading a global may run script code (a metatable on _G) and converting a
// number to text allocates: both happen inside a protected call.
int GetGlobalValue(lua_State* L) {
  lua_getglobal(L, static_cast<const char*>(lua_touserdata(L, 1)));
  return 1;
}

int GetGlobalAsText(lua_State* L) {
  lua_getglobal(L, static_cast<const char*>(lua_touserdata(L, 1)));
  if (lua_type(L, -1) == LUA_TNUMBER) lua_tostring(L, -1);  // converts in place
  return 1;
}

void PushGlobal(lua_State* L, const char* name, lua_CFunction reader) {
  RunProtected(L, reader, const_cast<char*>(name), 1);
}

// Setting a global may run script code as well, and pushing a text allocates.
struct Assignment {
  const char* name;
  const std::function<void()>& pushValue;
};

int SetGlobalValue(lua_State* L) {
  const auto* assignment = static_cast<const Assignment*>(lua_touserdata(L, 1));
  assignment->pushValue();
  lua_setglobal(L, assignment->name);
  return 0;
}

void AssignGlobal(lua_State* L, const char* name, const std::function<void()>& pushValue) {
  Assignment assignment{name, pushValue};
  RunProtected(L, SetGlobalValue, &assignment, 0);
}

}  // namespace

std::wstring GetGlobalText(lua_State* L, const char* name) {
  PushGlobal(L, name, GetGlobalAsText);
  size_t length = 0;
  const char* text = lua_type(L, -1) == LUA_TSTRING ? lua_tolstring(L, -1, &length) : nullptr;
  std::wstring result = text ? Utf8ToWide({text, length}) : std::wstring();
  lua_pop(L, 1);
  return result;
}

int GetGlobalNumber(lua_State* L, const char* name) {
  PushGlobal(L, name, GetGlobalValue);
  const int value = ScriptInteger32(L, -1);
  lua_pop(L, 1);
  return value;
}

bool GetGlobalFlag(lua_State* L, const char* name) {
  PushGlobal(L, name, GetGlobalValue);
  const bool value = lua_toboolean(L, -1) != 0;
  lua_pop(L, 1);
  return value;
}

void SetGlobalText(lua_State* L, const char* name, const std::wstring& value) {
  const std::string utf8 = WideToUtf8(value);
  AssignGlobal(L, name, [&] { lua_pushlstring(L, utf8.data(), utf8.size()); });
}

void SetGlobalNumber(lua_State* L, const char* name, int value) {
  AssignGlobal(L, name, [&] { lua_pushinteger(L, value); });
}

void SetGlobalFlag(lua_State* L, const char* name, bool value) {
  AssignGlobal(L, name, [&] { lua_pushboolean(L, value ? 1 : 0); });
}
