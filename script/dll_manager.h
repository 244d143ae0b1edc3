// DllManager: a script value holding one loaded library.
#pragma once

#include <windows.h>

#include "script/lua.h"

constexpr char kDllManagerMetaTable[] = "DllManagerMetaTable";

// Module opener: creates the metatable and returns the module table.
int OpenDllManager(lua_State* L);

// Pushes a new value holding `module`; the value does not free it.
void PushDllManager(lua_State* L, HMODULE module);
