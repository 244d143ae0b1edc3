#include "hostapi/host_functions.h"

#include "hostapi/archive_functions.h"
#include "hostapi/dll_registration_functions.h"
#include "hostapi/process_functions.h"
#include "hostapi/service_functions.h"
#include "hostapi/system_functions.h"

namespace {

// The whole surface scripts see, in registration order. Each family of
// functions lives in its own source beside this one.
const luaL_Reg kHostFunctions[] = {
    {"Lua_UnCompress7z", Lua_UnCompress7z},
    {"Lua_RegSvr32", Lua_RegSvr32},
    {"Lua_RegistDll", Lua_RegistDll},
    {"Lua_TaskKill", Lua_TaskKill},
    {"Lua_SCM", Lua_SCM},
    {"Lua_ExtractResource", Lua_ExtractResource},
    {"Lua_GetOSVersion", Lua_GetOSVersion},
    {"Lua_GetFileVersion", Lua_GetFileVersion},
    {"Lua_Logout", Lua_Logout},
    {"Lua_IsWow64", Lua_IsWow64},
    {"Lua_GetProcessId", Lua_GetProcessId},
    {"Lua_ExitWindows", Lua_ExitWindows},
    {"Lua_GetModuleFileName", Lua_GetModuleFileName},
    {"Lua_GetCommandLineArgv", Lua_GetCommandLineArgv},
    {"Lua_EnablePrivilege", Lua_EnablePrivilege},
    {"Lua_GetImagePathByPid", Lua_GetImagePathByPid},
    {"Lua_GetDriverInstallPath", Lua_GetDriverInstallPath},
    {"Lua_KillAllTaskByName", Lua_KillAllTaskByName},
    {nullptr, nullptr},
};

}  // namespace

void RegisterHostFunctions(lua_State* L) {
  for (const luaL_Reg* entry = kHostFunctions; entry->name; ++entry) {
    lua_register(L, entry->name, entry->func);
  }
}
