// Host functions that register and unregister COM libraries.
#pragma once

#include "script/lua.h"

int Lua_RegSvr32(lua_State* L);
int Lua_RegistDll(lua_State* L);
