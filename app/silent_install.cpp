#include "app/silent_install.h"

#include <objbase.h>

#include "app/install_mgr.h"
#include "app/module_path.h"
#include "app/statistics.h"
#include "app/window_messages.h"
#include "base/debug_line.h"
#include "script/nebscript_engine.h"
#include "script/script_globals.h"

namespace {

constexpr wchar_t kFallbackListenerClass[] = L"Global\\{C81DE3C6-FDA4-4458-9718-1F6946117266}";

// The installer is a one-shot download: neither it nor its log outlives the
// next restart.
void ScheduleSelfRemoval(const std::wstring& logBasePath) {
  MoveFileExW(logBasePath.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  const std::wstring program = ProgramPath();
  MoveFileExW(program.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace

void NotifyListenWindow(HWND listenWindow) {
  if (!listenWindow) return;
  if (!IsWindow(listenWindow)) listenWindow = FindWindowW(kFallbackListenerClass, nullptr);
  if (listenWindow) SendMessageW(listenWindow, UM_INSTALL_DONE, 0, 0);
}

void RunSilentInstall(const RunContext& context) {
  lua_State* L = NEBScriptEngine::Instance().State();
  SetGlobalFlag(L, "global_ss_install", true);
  DebugLine(L"global_ss_install==true ~!\r\n");
  DebugLine(L"start ss install!");
  SetGlobalText(L, "InstallPath", GetGlobalText(L, "global_install_path"));

  CInstallMgr& manager = CInstallMgr::Instance();
  manager.BeforeInstall();
  manager.InstallExecute();
  manager.BeforeComplete();
  manager.AfterComplete();

  ShutdownStatistics();
  NotifyListenWindow(context.listenWindow);
  CoUninitialize();
  ScheduleSelfRemoval(context.logBasePath);
}
