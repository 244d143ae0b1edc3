// The host function that starts and stops Windows services.
#pragma once

#include "script/lua.h"

int Lua_SCM(lua_State* L);
