// The Lua library is compiled as C++, so its errors unwind C++ frames and run
// destructors; include its headers through here, never lua.hpp.
#pragma once

#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
