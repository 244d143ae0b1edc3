// DllManager: a script value holding one loaded library, whose exports it
// binds as script functions (NativeCall).
#pragma once

#include <windows.h>

#include "script/lua.h"

constexpr char kDllManagerMetaTable[] = "DllManagerMetaTable";

// Module opener: creates the metatable with the methods UnLoad and Get and
// returns the module table, which holds Load.
int OpenDllManager(lua_State* L);

// Pushes a new value holding `module`. The value frees it only when a script
// calls its UnLoad method; there is no finaliser.
void PushDllManager(lua_State* L, HMODULE module);
