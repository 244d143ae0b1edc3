#include "hostapi/system_functions.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "base/debug_line.h"
#include "base/env_path.h"
#include "base/text.h"
#include "hostapi/host_args.h"
#include "log/qm_base_log.h"
#include "base/format_text.h"

namespace {

constexpr wchar_t kKernelModule[] = L"kernel32";
constexpr char kIsWow64Entry[] = "IsWow64Process";
constexpr wchar_t kFixedInfoBlock[] = L"\\";
constexpr wchar_t kVersionFormat[] = L"%d.%d.%d.%d";
constexpr wchar_t kProgramFilesFolder[] = L"%ProgramFiles%\\";
constexpr DWORD kPathUnits = MAX_PATH;
constexpr int kDriveLetters = 31;  // bits 0 to 30 of the drive mask
constexpr size_t kDriveTextLength = 2;  // "D:"

using IsWow64Entry = BOOL(WINAPI*)(HANDLE, BOOL*);

struct LocalFreeDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};

std::wstring FileVersion(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return {};
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), kFixedInfoBlock, reinterpret_cast<void**>(&info), &length) ||
      !info || length < sizeof(VS_FIXEDFILEINFO)) {
    return {};
  }
  return FormatText(kVersionFormat, HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                    HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
}

// "C:", "D:", ... for every fixed drive, in letter order.
std::vector<std::wstring> FixedDrives() {
  std::vector<std::wstring> drives;
  const DWORD mask = GetLogicalDrives();
  for (int bit = 0; bit < kDriveLetters; ++bit) {
    if (!(mask & (1u << bit))) continue;
    const std::wstring drive = {static_cast<wchar_t>(L'A' + bit), L':'};
    if (GetDriveTypeW((drive + L"\\").c_str()) == DRIVE_FIXED) drives.push_back(drive);
  }
  return drives;
}

}  // namespace

int Lua_GetOSVersion(lua_State* L) {
  lua_pushinteger(L, LOBYTE(LOWORD(GetVersion())));
  return 1;
}

int Lua_GetFileVersion(lua_State* L) {
  PushText(L, FileVersion(lua_gettop(L) >= 1 ? ArgText(L, 1) : std::wstring()));
  return 1;
}

int Lua_Logout(lua_State* L) {
  const std::wstring text = ArgText(L, 1);
  DebugLine(L"%ls", text.c_str());
  // The line carries the script engine's location, as every script log
  // line always has.
  WriteQMLog(spdlog::level::info, "nebscriptengine", "Lua_Logout", __LINE__, "log:{}", WideToUtf8(text));
  return 0;
}

int Lua_IsWow64(lua_State* L) {
  BOOL wow64 = FALSE;
  const HMODULE kernel = GetModuleHandleW(kKernelModule);
  // Looked up by name: older systems lack it. Through void*: its real type
  // is not FARPROC's.
  const auto isWow64 =
      kernel ? reinterpret_cast<IsWow64Entry>(reinterpret_cast<void*>(GetProcAddress(kernel, kIsWow64Entry)))
             : nullptr;
  const bool answer = isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
  lua_pushboolean(L, answer);
  return 1;
}

int Lua_GetModuleFileName(lua_State* L) {
  // A module that is not loaded gives the null handle: the program itself.
  const HMODULE module = lua_gettop(L) >= 1 ? GetModuleHandleW(ArgText(L, 1).c_str()) : nullptr;
  wchar_t path[kPathUnits] = {};
  if (!GetModuleFileNameW(module, path, kPathUnits)) TraceLastError(L"GetModuleFileName failed!");
  PushText(L, path);
  return 1;
}

int Lua_GetCommandLineArgv(lua_State* L) {
  int count = 0;
  const std::unique_ptr<wchar_t*, LocalFreeDeleter> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
  if (!arguments || count <= 0) return 0;
  lua_createtable(L, count, 0);
  for (int i = 0; i < count; ++i) {
    PushText(L, arguments.get()[i]);
    lua_rawseti(L, -2, i + 1);
  }
  return 1;
}

int Lua_GetDriverInstallPath(lua_State* L) {
  // The program-files folder as this process sees it (the x86 one for the
  // shipped 32-bit build), with its closing backslash.
  const std::wstring base = ExpandEnvPath(kProgramFilesFolder);
  const std::vector<std::wstring> drives = FixedDrives();
  // The first fixed drive is passed over: the same folder on a secondary
  // fixed drive is preferred when it exists.
  for (size_t i = 1; i < drives.size() && base.size() >= kDriveTextLength; ++i) {
    const std::wstring candidate = drives[i] + base.substr(kDriveTextLength);
    if (PathExists(candidate)) {
      PushText(L, candidate);
      return 1;
    }
  }
  PushText(L, base);
  return 1;
}
