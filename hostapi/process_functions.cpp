#include "hostapi/process_functions.h"

#include <windows.h>
#include <psapi.h>

#include <cwchar>
#include <string>

#include "base/debug_line.h"
#include "base/handles.h"
#include "hostapi/host_args.h"
#include "hostapi/process_tool_help.h"

namespace {

constexpr wchar_t kShutdownPrivilege[] = L"SeShutdownPrivilege";
constexpr DWORD kImagePathUnits = MAX_PATH;

// The window step of Lua_TaskKill. Only an explicit nil skips a position: an
// absent class reads as the empty text, an absent message as 0.
void PostToWindowClass(lua_State* L) {
  if (lua_type(L, 2) == LUA_TNIL) return;
  const std::wstring windowClass = ArgText(L, 2);
  UINT message = WM_SYSCOMMAND;
  WPARAM wparam = SC_CLOSE;
  LPARAM lparam = 0;
  if (lua_type(L, 3) != LUA_TNIL) {
    message = ArgUnsigned(L, 3);
    wparam = ArgUnsigned(L, 4);
    lparam = ArgNumber(L, 5);
  }
  // An empty class names no window; it must not reach FindWindowW, which
  // could take it for "any class".
  if (windowClass.empty()) return;
  const HWND window = FindWindowW(windowClass.c_str(), nullptr);
  if (window) PostMessageW(window, message, wparam, lparam);
}

// A process id (a number or numeric string) or an executable name.
bool EndTarget(lua_State* L, int index) {
  CProcessToolHelp processes;
  const DWORD id = lua_isnumber(L, index) ? ArgUnsigned(L, index) : processes.FindProcessByName(ArgText(L, index));
  return id == kNoProcess || processes.KillProcess(id);
}

}  // namespace

int Lua_TaskKill(lua_State* L) {
  PostToWindowClass(L);
  lua_pushboolean(L, EndTarget(L, 1));
  return 1;
}

int Lua_KillAllTaskByName(lua_State* L) {
  lua_pushboolean(L, EndTarget(L, 1));
  return 1;
}

int Lua_GetProcessId(lua_State* L) {
  const std::wstring name = ArgText(L, ArgFromTop(L, 1));
  int found = 0;
  for (const ProcessEntry& process : CProcessToolHelp().Processes()) {
    if (_wcsicmp(process.exeName.c_str(), name.c_str()) != 0) continue;
    if (!lua_checkstack(L, 1)) break;
    PushUnsigned(L, process.id);
    ++found;
  }
  if (found == 0) {
    lua_pushinteger(L, -1);
    return 1;
  }
  return found;
}

int Lua_GetImagePathByPid(lua_State* L) {
  const DWORD id = ArgUnsigned(L, ArgFromTop(L, 1));
  CProcessToolHelp processes;
  UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id));
  if (!process) return 0;
  wchar_t image[kImagePathUnits] = {};
  if (!GetProcessImageFileNameW(process.Get(), image, kImagePathUnits)) return 0;
  std::wstring path = image;
  if (!processes.DevicePathToDosPath(path)) return 0;
  PushText(L, path);
  return 1;
}

int Lua_EnablePrivilege(lua_State* L) {
  const std::wstring name = ArgText(L, ArgFromTop(L, 2));
  const bool enable = ArgFlag(L, ArgFromTop(L, 1));
  lua_pushboolean(L, CProcessToolHelp::EnablePrivilegeByName(name.c_str(), enable));
  return 1;
}

int Lua_ExitWindows(lua_State* L) {
  const UINT flags = ArgUnsigned(L, 1);
  const DWORD reason = ArgUnsigned(L, 2);
  // Without the privilege the call below fails on its own terms.
  CProcessToolHelp::EnablePrivilegeByName(kShutdownPrivilege, true);
  lua_pushboolean(L, ExitWindowsEx(flags, reason));
  return 1;
}
