#include "hostapi/host_functions.h"

#include "hostapi/archive_functions.h"
#include "hostapi/file_functions.h"
#include "hostapi/registry_functions.h"
#include "hostapi/shell_functions.h"
#include "hostapi/shortcut_functions.h"

namespace {

// The whole surface scripts see, in registration order. Each family of
// functions lives in its own source beside this one.
const luaL_Reg kHostFunctions[] = {
    {"Lua_UnCompress7z", Lua_UnCompress7z},
    {"Lua_RegQuery", Lua_RegQuery},
    {"Lua_RegAdd", Lua_RegAdd},
    {"Lua_RegDel", Lua_RegDel},
    {"Lua_CreateShortcut", Lua_CreateShortcut},
    {"Lua_CreateDirectory", Lua_CreateDirectory},
    {"Lua_CopyFile", Lua_CopyFile},
    {"Lua_CefRegister", Lua_CefRegister},
    {"Lua_MoveFile", Lua_MoveFile},
    {"Lua_RenameFile", Lua_RenameFile},
    {"Lua_DeleteFile", Lua_DeleteFile},
    {"Lua_DeleteFileEx", Lua_DeleteFileEx},
    {"Lua_Exec", Lua_Exec},
    {"Lua_ExplorerExec", Lua_ExplorerExec},
    {"Lua_RegVarByCSIDL", Lua_RegVarByCSIDL},
    {"Lua_ExtractResource", Lua_ExtractResource},
    {"Lua_MsgBox", Lua_MsgBox},
    {"Lua_DelFileRecursive", Lua_DelFileRecursive},
    {"Lua_DelFileRecursiveEx", Lua_DelFileRecursiveEx},
    {"Lua_DeleteFileAfterReboot", Lua_DeleteFileAfterReboot},
    {"Lua_GetTempFileName", Lua_GetTempFileName},
    {"Lua_GetTempPath", Lua_GetTempPath},
    {"Lua_ExpandEnv", Lua_ExpandEnv},
    {"Lua_PathFileExists", Lua_PathFileExists},
    {"Lua_PathYetAnotherMakeUniqueName", Lua_PathYetAnotherMakeUniqueName},
    {"Lua_ShellExec", Lua_ShellExec},
    {nullptr, nullptr},
};

}  // namespace

void RegisterHostFunctions(lua_State* L) {
  for (const luaL_Reg* entry = kHostFunctions; entry->name; ++entry) {
    lua_register(L, entry->name, entry->func);
  }
}
