// The registry metatable every script type is built on.
#pragma once

#include "script/lua.h"

// Creates the registry metatable `name` with "__index" set to the metatable
// itself, then sets `functions` in it (which may replace "__index"), and
// leaves it on the stack.
void PushTypeMetatable(lua_State* L, const char* name, const luaL_Reg* functions);
