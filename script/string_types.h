// WString and AString: script values that are NUL-terminated text blocks
// (UTF-16, or the thread's ANSI code page), handed to native functions as
// pointers to the block so those may also write into them.
#pragma once

#include "script/lua.h"
#include "script/string_values.h"

// Module openers: each creates its type's metatable and returns the module
// table, which holds only New.
int OpenWString(lua_State* L);
int OpenAString(lua_State* L);
