#include "app/startup/silent_install.h"

#include <objbase.h>

#include "app/install/install_checks.h"
#include "app/install/install_done.h"
#include "app/install/install_mgr.h"
#include "app/install/window_messages.h"
#include "app/statistics/statistics.h"
#include "base/debug_line.h"
#include "base/module_path.h"
#include "base/text.h"
#include "files/restart_deletion.h"
#include "log/qm_base_log.h"
#include "script/nebscript_engine.h"
#include "script/script_globals.h"
#include "scripts/global_names.h"

namespace {

constexpr wchar_t kSelfRemoval[] = L"RunSilentInstall";
constexpr wchar_t kFallbackListenerClass[] = L"Global\\{C81DE3C6-FDA4-4458-9718-1F6946117266}";

// The installer is a one-shot download: neither it nor its log outlives the
// next restart.
void ScheduleSelfRemoval(const std::wstring& logBasePath) {
  ScheduleDeletionAtRestart(kSelfRemoval, logBasePath);
  ScheduleDeletionAtRestart(kSelfRemoval, ProgramPath());
}

}  // namespace

void NotifyListenWindow(HWND listenWindow) {
  if (!listenWindow) return;
  if (!IsWindow(listenWindow)) listenWindow = FindWindowW(kFallbackListenerClass, nullptr);
  SendInstallDone(listenWindow);
}

void RunSilentInstall(const RunContext& context) {
  {
    // No other thread runs the script in a silent install: the engine is
    // held throughout, its events taking it again on this thread.
    const NEBScriptEngine::Access engine = NEBScriptEngine::Instance().Lock();
    lua_State* L = engine.State();
    SetGlobalFlag(L, script_names::kSilentInstall, true);
    DebugLine(L"global_ss_install==true ~!\r\n");
    DebugLine(L"start ss install!");
    const std::wstring given = GetGlobalText(L, script_names::kInstallPath);
    std::wstring folder;
    // A silent install has nobody to ask: a folder the dialog would refuse
    // is not installed into at all.
    if (CheckInstallFolder(given, GetGlobalText(L, script_names::kInstallBasePath), &folder) ==
        InstallFolderCheck::kUsable) {
      SetGlobalText(L, script_names::kInstallPath, folder);
      SetGlobalText(L, script_names::kInstallPathOption, folder);
      CInstallMgr& manager = CInstallMgr::Instance();
      manager.BeforeInstall();
      manager.InstallExecute();
      manager.BeforeComplete();
      manager.AfterComplete();
    } else {
      DebugLine(L"install folder refused: %ls\r\n", given.c_str());
      QMLOG_ERROR("install folder refused: {}", WideToUtf8(given));
    }
  }

  ShutdownStatistics();
  NotifyListenWindow(context.listenWindow);
  CoUninitialize();
  ScheduleSelfRemoval(context.logBasePath);
}
