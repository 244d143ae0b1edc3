// How script numbers become integers for native code, the same on the
// shipped 32-bit build and on the 64-bit build: rounded to the nearest
// integer, a half to the even neighbour, as the 32-bit library's own
// conversion does (2.7 gives 3, -1.5 gives -2, 2.5 gives 2).
#pragma once

#include <cstdint>

#include "script/lua.h"

// The value at `index` when it is a number or a string holding one; 0 for
// anything else and for values beyond the 64-bit range.
int64_t ScriptInteger(lua_State* L, int index);

// The same as a 32-bit value, modulo 2^32 (so -1 and 4294967295 give the
// same bits).
int32_t ScriptInteger32(lua_State* L, int index);
