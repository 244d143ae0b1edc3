// Host functions that find and end processes and adjust the process's own
// privileges.
#pragma once

#include "script/lua.h"

int Lua_TaskKill(lua_State* L);
int Lua_ExitWindows(lua_State* L);
int Lua_GetProcessId(lua_State* L);
int Lua_EnablePrivilege(lua_State* L);
int Lua_GetImagePathByPid(lua_State* L);
int Lua_KillAllTaskByName(lua_State* L);
