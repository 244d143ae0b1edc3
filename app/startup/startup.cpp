#include "app/startup/startup.h"

#include <windows.h>
#include <objbase.h>

#include <cstdint>

#include "app/install/install_mgr.h"
#include "app/startup/app_instance.h"
#include "app/startup/install_folder.h"
#include "app/startup/interactive_install.h"
#include "app/startup/run_context.h"
#include "app/startup/silent_install.h"
#include "base/debug_line.h"
#include "base/handles.h"
#include "base/system_folders.h"
#include "base/text.h"
#include "hostapi/host_functions.h"
#include "log/qm_base_log.h"
#include "script/nebscript_engine.h"
#include "script/script_globals.h"
#include "scripts/global_names.h"

namespace {

constexpr wchar_t kLogFileName[] = L"LumetricaClientInstall.log";
constexpr wchar_t kScriptResourceType[] = L"LUA";
constexpr wchar_t kGlobalScript[] = L"GLOBAL_VAR.LUAC";
constexpr wchar_t kInstallScript[] = L"INSTSCRIPT.LUAC";

constexpr wchar_t kSwitchListenWnd[] = L"InstallListenWnd";
constexpr wchar_t kSwitchSilent[] = L"InstallSlience";
constexpr wchar_t kSwitchPath[] = L"InstallPath";
constexpr wchar_t kSwitchStartWithWindows[] = L"InstallNormalLumetrica";
constexpr wchar_t kSilentValue[] = L"true";

std::wstring LogBasePath() {
  std::wstring path = TemporaryFolder();
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path + kLogFileName;
}

HWND ListenWindowFrom(const CCmdLineSwitches& switches) {
  std::wstring value;
  if (!switches.GetSwitch(kSwitchListenWnd, value)) return nullptr;
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(ReadUnsignedDecimal(value)));
}

bool LoadScripts(NEBScriptEngine& engine) {
  if (!engine.DoResLua(kScriptResourceType, kGlobalScript)) {
    DebugLine(L"DoResLua failed, GLOBAL_VAR.LUAC");
    return false;
  }
  if (!engine.DoResLua(kScriptResourceType, kInstallScript)) {
    DebugLine(L"DoResLua failed, INSTSCRIPT.LUAC");
    return false;
  }
  return true;
}

std::wstring InstanceName(lua_State* L) {
  const std::wstring scriptName = GetGlobalText(L, script_names::kInstallMutexGuid);
  const int appId = GetGlobalNumber(L, script_names::kAppId);
  if (scriptName.empty()) return AppInstanceName(kDefaultMutexBaseName, appId, true);
  return AppInstanceName(scriptName, appId, false);
}

bool ShouldRunSilently(lua_State* L, const CCmdLineSwitches& switches) {
  std::wstring value;
  if (switches.GetSwitch(kSwitchSilent, value) && value == kSilentValue) return true;
  return GetGlobalFlag(L, script_names::kEnableSilentInstall) && GetGlobalFlag(L, script_names::kSilentInstall);
}

void ApplyInstallFolder(lua_State* L, const CCmdLineSwitches& switches) {
  std::wstring value;
  if (!switches.GetSwitch(kSwitchPath, value) || value.empty()) return;
  if (const auto folder = WithProductFolder(value)) {
    SetGlobalText(L, script_names::kInstallPath, *folder);
  } else {
    DebugLine(L"InstallPath ignored, the folder is too long: %ls\r\n", value.c_str());
  }
}

void ApplyStartWithWindows(lua_State* L, const CCmdLineSwitches& switches) {
  std::wstring value;
  if (switches.GetSwitch(kSwitchStartWithWindows, value) && ReadSignedDecimal(value) == 1) {
    SetGlobalFlag(L, script_names::kStartWithWindowsOption, true);
  }
}

int Run() {
  RunContext context;
  context.logBasePath = LogBasePath();
  DeleteFileW(context.logBasePath.c_str());
  CQMBaseLog::Instance().InitLogger(WideToAnsi(context.logBasePath));

  context.switches.Parse(GetCommandLineW());
  context.listenWindow = ListenWindowFrom(context.switches);

  NEBScriptEngine& engine = NEBScriptEngine::Instance();
  engine.OpenLibraries({RegisterHostFunctions});
  if (!LoadScripts(engine)) return 0;

  UniqueHandle otherInstance(CreateAppInstance(InstanceName(engine.Lock().State())));
  if (otherInstance && !context.switches.Has(kSwitchSilent)) {
    DebugLine(L"CreateAppInstance return true");
    return 0;
  }

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  CInstallMgr::Instance().BeforeInit();

  bool silent = false;
  {
    // Let go before the install: the dialog's worker takes the engine.
    const NEBScriptEngine::Access access = engine.Lock();
    lua_State* L = access.State();
    silent = ShouldRunSilently(L, context.switches);
    ApplyInstallFolder(L, context.switches);
    ApplyStartWithWindows(L, context.switches);
  }
  if (silent) {
    RunSilentInstall(context);
  } else {
    RunInteractiveInstall(context);
  }
  return 0;
}

}  // namespace

int RunInstaller() {
  // A failure the run did not expect ends it as any failure before the
  // dialog does: silently, with exit code 0.
  try {
    return Run();
  } catch (const NEBScriptEngine::CreationError&) {
    return 0;
  } catch (const std::exception& error) {
    DebugLine(L"the installer stopped: %ls\r\n", AnsiToWide(error.what()).c_str());
    return 0;
  } catch (...) {
    DebugLine(L"the installer stopped: unknown failure\r\n");
    return 0;
  }
}
