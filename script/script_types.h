// The program's own script types, opened after the standard libraries: each
// becomes a global and a loaded module of its name.
#pragma once

#include <vector>

#include "script/lua.h"

// In the order they are opened.
const std::vector<luaL_Reg>& ScriptTypeModules();
