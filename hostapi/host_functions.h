// The native functions scripts call, each set as a global under its Lua_ name.
#pragma once

#include "script/lua.h"

void RegisterHostFunctions(lua_State* L);
