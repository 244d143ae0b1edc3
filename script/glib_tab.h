// GLibTab: a table of system libraries that loads each one on its first use.
#pragma once

#include "script/lua.h"

void OpenGLibTab(lua_State* L);
