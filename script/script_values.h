// Script values read and handed back by native code, the conventions every
// host function and script type follows. No reader raises a script error: a
// value of the wrong kind reads as the empty text, 0 or false.
#pragma once

#include <cstdint>
#include <string>

#include "script/lua.h"

// A string as it is, a number as its decimal text, anything else (nil,
// booleans, tables, userdata such as WString) as the empty text.
std::wstring ArgText(lua_State* L, int index);

// A number, or a string holding one, rounded to an integer as a 32-bit value
// (modulo 2^32, so -1 and 4294967295 give the same bits on every build);
// anything else 0.
int32_t ArgNumber(lua_State* L, int index);
inline uint32_t ArgUnsigned(lua_State* L, int index) { return static_cast<uint32_t>(ArgNumber(L, index)); }

// False only for nil and false (and a missing argument).
bool ArgFlag(lua_State* L, int index);

// The absolute index of the argument `fromTop` places below the top (1 is
// the last argument); an index past the arguments (reading as nil) when
// there are fewer.
int ArgFromTop(lua_State* L, int fromTop);

void PushText(lua_State* L, const std::wstring& text);
// A 32-bit unsigned value (a registry number, an error code) as its
// non-negative value.
void PushUnsigned(lua_State* L, uint32_t value);
