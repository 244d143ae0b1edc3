// Host functions that ask about the system and the running program, and
// write the script's own log lines.
#pragma once

#include "script/lua.h"

int Lua_GetOSVersion(lua_State* L);
int Lua_GetFileVersion(lua_State* L);
int Lua_Logout(lua_State* L);
int Lua_IsWow64(lua_State* L);
int Lua_GetModuleFileName(lua_State* L);
int Lua_GetCommandLineArgv(lua_State* L);
int Lua_GetDriverInstallPath(lua_State* L);
