#include "app/dialog/product_launch.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "base/debug_line.h"
#include "base/env_path.h"
#include "base/handles.h"
#include "base/registry_key.h"
#include "hostapi/shell_functions.h"
#include "script/nebscript_engine.h"
#include "script/script_globals.h"
#include "scripts/global_names.h"

namespace {

constexpr wchar_t kProductKey[] = L"SOFTWARE\\Lumetrica";
constexpr wchar_t kInstallValue[] = L"Install";

}  // namespace

void LaunchInstalledProduct() {
  const NEBScriptEngine::Access engine = NEBScriptEngine::Instance().Lock();
  lua_State* L = engine.State();
  const std::wstring appName = GetGlobalText(L, script_names::kMainAppName);
  // Without a program name there is nothing to start (the folder itself
  // would open in the file manager).
  if (appName.empty()) return;
  std::wstring folder = ExpandEnvPath(GetGlobalText(L, script_names::kInstallPath));
  if (folder.size() > MAX_PATH) folder.resize(MAX_PATH);
  const std::wstring program = folder + L"\\" + appName;
  const std::wstring parameters = GetGlobalText(L, script_names::kStartParameter);
  if (GetGlobalFlag(L, script_names::kStartUseExplorerLevel)) {
    UniqueRegKey key;
    if (OpenRegistryKey(HKEY_CURRENT_USER, kProductKey, KEY_READ | KEY_WRITE, key) == ERROR_SUCCESS) {
      const DWORD one = 1;
      RegSetValueExW(key.Get(), kInstallValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    }
    DebugLine(L"ProcessLauncherExplorerLevel~!\r\n");
    RunViaExplorer(program, parameters);
  } else {
    ShellExecuteW(nullptr, nullptr, program.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
  }
}
