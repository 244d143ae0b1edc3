// Reading and setting script globals from native code. A missing text reads
// as empty, a missing number as 0, a missing flag as false.
#pragma once

#include <string>

#include "script/lua.h"

std::wstring GetGlobalText(lua_State* L, const char* name);
int GetGlobalNumber(lua_State* L, const char* name);
bool GetGlobalFlag(lua_State* L, const char* name);

void SetGlobalText(lua_State* L, const char* name, const std::wstring& value);
void SetGlobalNumber(lua_State* L, const char* name, int value);
void SetGlobalFlag(lua_State* L, const char* name, bool value);
