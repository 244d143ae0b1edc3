#include "script/type_metatable.h"

void PushTypeMetatable(lua_State* L, const char* name, const luaL_Reg* functions) {
  luaL_newmetatable(L, name);
  lua_pushvalue(L, -1);
  lua_setfield(L, -2, "__index");
  luaL_setfuncs(L, functions, 0);
}
