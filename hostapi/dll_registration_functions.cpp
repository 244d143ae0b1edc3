#include "hostapi/dll_registration_functions.h"

#include <windows.h>

#include <string>

#include "base/debug_line.h"
#include "base/env_path.h"
#include "base/handles.h"
#include "base/system_library.h"
#include "base/text.h"
#include "hostapi/host_args.h"

namespace {

constexpr wchar_t kRegSvr32Name[] = L"Lua_RegSvr32";
constexpr wchar_t kRegistDllName[] = L"Lua_RegistDll";
constexpr char kRegisterEntry[] = "DllRegisterServer";
constexpr char kUnregisterEntry[] = "DllUnregisterServer";
constexpr wchar_t kRegSvr32Command[] = L"regsvr32 ";
// The registration counts as started only when WinExec answers above 32:
// one more than WinExec's own success threshold (above 31), so an answer of
// exactly 32 is a failure here.
constexpr UINT kRegSvr32StartedAbove = 32;

using RegistrationEntry = HRESULT(STDAPICALLTYPE*)();

// The library path argument, expanded; empty (after the "not exists" line)
// when there is no such file.
std::wstring ExistingLibrary(lua_State* L, const wchar_t* function) {
  const std::wstring path = ExpandEnvPath(ArgText(L, 1));
  if (PathExists(path)) return path;
  ReportMissingPath(function, path);
  return {};
}

bool CallRegistrationEntry(lua_State* L, bool registering) {
  // Declared before OLE starts, so the library is freed only after OLE has
  // been uninitialised and has let go of anything the library created.
  UniqueModule library;
  const ScopedOleInit ole;
  const std::wstring path = ExistingLibrary(L, kRegSvr32Name);
  if (path.empty()) return false;
  library.Reset(LoadLibraryFile(path));
  if (!library) {
    DebugLine(L"Fun:%ls, Description: LoadLibrary %ls Failed!\r\n", kRegSvr32Name, path.c_str());
    TraceLastError(L"");
    return false;
  }
  // Through void*: the entry's real type is not FARPROC's.
  const auto entry = reinterpret_cast<RegistrationEntry>(reinterpret_cast<void*>(
      GetProcAddress(library.Get(), registering ? kRegisterEntry : kUnregisterEntry)));
  return entry && SUCCEEDED(entry());
}

bool StartRegSvr32(lua_State* L) {
  const ScopedOleInit ole;
  const std::wstring path = ExistingLibrary(L, kRegistDllName);
  if (path.empty()) return false;
  const std::wstring command = kRegSvr32Command + ArgText(L, 2) + L" \"" + path + L"\"";
  const UINT started = WinExec(WideToAnsi(command).c_str(), SW_HIDE);
  if (started > kRegSvr32StartedAbove) return true;
  DebugLine(L"reg failed!!! %d", static_cast<int>(GetLastError()));
  return false;
}

}  // namespace

int Lua_RegSvr32(lua_State* L) {
  lua_pushboolean(L, CallRegistrationEntry(L, ArgFlag(L, 2)));
  return 1;
}

int Lua_RegistDll(lua_State* L) {
  lua_pushboolean(L, StartRegSvr32(L));
  return 1;
}
