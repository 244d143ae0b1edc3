#include "script/glib_tab.h"

#include <windows.h>

#include "base/system_library.h"
#include "base/text.h"
#include "script/dll_manager.h"
#include "script/type_metatable.h"

namespace {

constexpr char kGlobalLibTableMetaTable[] = "GlobalLibTableMetaTable";

// __index of GLibTab: (table, key). A library that does not load is not
// remembered, so a later access tries again.
int LoadLibraryOnFirstUse(lua_State* L) {
  const int keyType = lua_type(L, 2);
  if (keyType != LUA_TSTRING && keyType != LUA_TNUMBER) {
    lua_pushnil(L);
    return 1;
  }
  size_t length = 0;
  lua_pushvalue(L, 2);  // converting a number key in place would change the key itself
  const char* name = lua_tolstring(L, -1, &length);
  const HMODULE module = LoadNamedLibrary(Utf8ToWide({name, length}));
  lua_pop(L, 1);
  if (!module) {
    lua_pushnil(L);
    return 1;
  }
  PushDllManager(L, module);
  lua_pushvalue(L, 2);
  lua_pushvalue(L, -2);
  lua_rawset(L, 1);
  return 1;
}

const luaL_Reg kGlibTabFunctions[] = {
    {"__index", LoadLibraryOnFirstUse},
    {nullptr, nullptr},
};

}  // namespace

void OpenGLibTab(lua_State* L) {
  PushTypeMetatable(L, kGlobalLibTableMetaTable, kGlibTabFunctions);

  lua_newtable(L);
  lua_pushvalue(L, -2);
  lua_setmetatable(L, -2);
  lua_setglobal(L, "GLibTab");
  lua_pop(L, 1);
}
