// Host functions for files and folders: create, copy, move, rename and
// delete, deletion at the next restart, existence, unique and temporary
// names, environment expansion and special folders as environment variables.
#pragma once

#include "script/lua.h"

int Lua_CreateDirectory(lua_State* L);
int Lua_CopyFile(lua_State* L);
int Lua_MoveFile(lua_State* L);
int Lua_RenameFile(lua_State* L);
int Lua_DeleteFile(lua_State* L);
int Lua_DeleteFileEx(lua_State* L);
int Lua_RegVarByCSIDL(lua_State* L);
int Lua_DelFileRecursive(lua_State* L);
int Lua_DelFileRecursiveEx(lua_State* L);
int Lua_DeleteFileAfterReboot(lua_State* L);
int Lua_GetTempFileName(lua_State* L);
int Lua_GetTempPath(lua_State* L);
int Lua_ExpandEnv(lua_State* L);
int Lua_PathFileExists(lua_State* L);
int Lua_PathYetAnotherMakeUniqueName(lua_State* L);
