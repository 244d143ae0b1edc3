// The host function that creates shell links and internet shortcuts.
#pragma once

#include "script/lua.h"

int Lua_CreateShortcut(lua_State* L);
