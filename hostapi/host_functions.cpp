#include "hostapi/host_functions.h"

#include "hostapi/archive_functions.h"
#include "hostapi/dll_registration_functions.h"
#include "hostapi/file_functions.h"
#include "hostapi/process_functions.h"
#include "hostapi/registry_functions.h"
#include "hostapi/service_functions.h"
#include "hostapi/shell_functions.h"
#include "hostapi/shortcut_functions.h"
#include "hostapi/system_functions.h"

namespace {

// The whole surface scripts see, in registration order. Each family of
// functions lives in its own source beside this one.
const luaL_Reg kHostFunctions[] = {
    {"Lua_UnCompress7z", Lua_UnCompress7z},
    {"Lua_RegSvr32", Lua_RegSvr32},
    {"Lua_RegistDll", Lua_RegistDll},
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
    {"Lua_TaskKill", Lua_TaskKill},
    {"Lua_SCM", Lua_SCM},
    {"Lua_RegVarByCSIDL", Lua_RegVarByCSIDL},
    {"Lua_ExtractResource", Lua_ExtractResource},
    {"Lua_GetOSVersion", Lua_GetOSVersion},
    {"Lua_GetFileVersion", Lua_GetFileVersion},
    {"Lua_Logout", Lua_Logout},
    {"Lua_MsgBox", Lua_MsgBox},
    {"Lua_DelFileRecursive", Lua_DelFileRecursive},
    {"Lua_DelFileRecursiveEx", Lua_DelFileRecursiveEx},
    {"Lua_DeleteFileAfterReboot", Lua_DeleteFileAfterReboot},
    {"Lua_IsWow64", Lua_IsWow64},
    {"Lua_GetProcessId", Lua_GetProcessId},
    {"Lua_ExitWindows", Lua_ExitWindows},
    {"Lua_GetModuleFileName", Lua_GetModuleFileName},
    {"Lua_GetCommandLineArgv", Lua_GetCommandLineArgv},
    {"Lua_EnablePrivilege", Lua_EnablePrivilege},
    {"Lua_GetTempFileName", Lua_GetTempFileName},
    {"Lua_GetTempPath", Lua_GetTempPath},
    {"Lua_ExpandEnv", Lua_ExpandEnv},
    {"Lua_GetImagePathByPid", Lua_GetImagePathByPid},
    {"Lua_GetDriverInstallPath", Lua_GetDriverInstallPath},
    {"Lua_KillAllTaskByName", Lua_KillAllTaskByName},
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
