#include "hostapi/host_functions.h"

#include "hostapi/archive_functions.h"
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
    {"Lua_CefRegister", Lua_CefRegister},
    {"Lua_Exec", Lua_Exec},
    {"Lua_ExplorerExec", Lua_ExplorerExec},
    {"Lua_ExtractResource", Lua_ExtractResource},
    {"Lua_MsgBox", Lua_MsgBox},
    {"Lua_ShellExec", Lua_ShellExec},
    {nullptr, nullptr},
};

}  // namespace

void RegisterHostFunctions(lua_State* L) {
  for (const luaL_Reg* entry = kHostFunctions; entry->name; ++entry) {
    lua_register(L, entry->name, entry->func);
  }
}
