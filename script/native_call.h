// NativeCall: a script function bound to one exported function of a loaded
// library. Its arguments become machine words, its result is converted by
// the kind named when it was bound.
#pragma once

#include "script/lua.h"

// Pops the result kind and the cdecl flag (pushed in that order) and pushes
// a NativeCall function for `address`. Its upvalues, in order: the kind, the
// flag, the address as a light userdata.
void PushNativeCall(lua_State* L, void* address);
