// RawBuffer: zero-filled memory blocks for the output parameters of native
// functions, and typed reads and writes at byte offsets into any block or
// pointer.
#pragma once

#include "script/lua.h"

constexpr char kRawBufferMetaTable[] = "RawBufferMetaTable";

// Module opener: creates the metatable with the twenty offset operations and
// returns the module table, which holds New.
int OpenRawBuffer(lua_State* L);
