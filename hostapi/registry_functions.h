// Host functions that read, write and delete registry values and keys.
#pragma once

#include "script/lua.h"

int Lua_RegQuery(lua_State* L);
int Lua_RegAdd(lua_State* L);
int Lua_RegDel(lua_State* L);
int Lua_CefRegister(lua_State* L);
