// Host functions that start programs and open documents through the shell,
// and ask the user questions; and the launcher through explorer.exe that the
// install dialog also uses to start the product.
#pragma once

#include <windows.h>

#include <string>

#include "script/lua.h"

int Lua_Exec(lua_State* L);
int Lua_ExplorerExec(lua_State* L);
int Lua_MsgBox(lua_State* L);
int Lua_ShellExec(lua_State* L);

// Has explorer.exe open the file with the parameters, so that a program
// starts as a child of the shell. Returns WinExec's answer: above 31 when
// explorer.exe was started.
UINT RunViaExplorer(const std::wstring& file, const std::wstring& parameters);
