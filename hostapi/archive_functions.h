// Host functions that unpack the payload archive and copy resources to files.
#pragma once

#include "script/lua.h"

int Lua_UnCompress7z(lua_State* L);
int Lua_ExtractResource(lua_State* L);
