#include "product/uninstall/uninstall_run.h"

#include <windows.h>

#include "base/debug_line.h"
#include "base/module_path.h"
#include "base/path_text.h"
#include "base/system_folders.h"
#include "base/text.h"
#include "files/install_record.h"
#include "log/qm_base_log.h"
#include "product/uninstall/temporary_copy.h"
#include "product/uninstall/uninstall_scripts.h"
#include "product/uninstall/uninstall_texts.h"
#include "script/nebscript_engine.h"
#include "script/script_error.h"
#include "script/script_globals.h"
#include "script/script_values.h"
#include "scripts/global_names.h"

namespace {

constexpr UINT kBoxStyle = MB_SETFOREGROUND | MB_TOPMOST;

void OpenUninstallLog() {
  const std::wstring temp = TemporaryFolder();
  if (temp.empty()) return;
  CQMBaseLog::Instance().InitLogger(WideToAnsi(temp + kUninstallLogName));
}

// A silent uninstall shows no window, not even for a script error: the
// report goes to the log and the exit code tells the caller.
[[noreturn]] void LogReportAndExit(const std::wstring& report) {
  QMLOG_ERROR("script error: {}", WideToAnsi(report));
  if (const auto logger = CQMBaseLog::Instance().Logger()) logger->flush();
  ExitProcess(kUninstallRefused);
}

// Interactive: a message box; silent: the log only.
void Tell(const UninstallOptions& options, const std::wstring& text, UINT icon) {
  QMLOG_INFO("{}", WideToAnsi(text));
  if (!options.silent) MessageBoxW(nullptr, text.c_str(), kUninstallCaption, MB_OK | icon | kBoxStyle);
}

// Both chunks run, or the user learns which file is missing or damaged.
bool PrepareScripts(const UninstallOptions& options, const std::wstring& installFolder) {
  if (options.silent) SetScriptErrorPresenter(LogReportAndExit);
  const std::wstring broken = RunUninstallScripts(installFolder);
  if (broken.empty()) return true;
  Tell(options, kRefusedTextBefore + broken + kRefusedTextAfter, MB_ICONERROR);
  return false;
}

void SetHostGlobals(const UninstallOptions& options, const std::wstring& installFolder) {
  const NEBScriptEngine::Access engine = NEBScriptEngine::Instance().Lock();
  lua_State* L = engine.State();
  SetGlobalText(L, script_names::kInstallPath, installFolder);
  // By now the starter has ended, so the uninstaller's file in the install
  // folder can be deleted.
  SetGlobalText(L, script_names::kUninstallerPath, installFolder + L"\\" + ProgramFileName());
  SetGlobalFlag(L, script_names::kUserSettingChecked, false);
  // What the install wrote, for a folder that does not carry the marks of
  // the product's own (the script tells).
  lua_newtable(L);
  int index = 0;
  for (const std::wstring& path : ReadInstallRecord(installFolder)) {
    PushText(L, path);
    lua_rawseti(L, -2, ++index);
  }
  lua_setglobal(L, script_names::kInstalledEntries);
  SetGlobalFlag(L, script_names::kClearUserData, options.clearUserData);
  if (options.reason) {
    SetGlobalText(L, script_names::kReasonId, options.reason->ids);
    SetGlobalText(L, script_names::kSuggestion, options.reason->suggestion);
    SetGlobalText(L, script_names::kContact, options.reason->contact);
  }
}

void FireEvent(const char* name) {
  QMLOG_INFO("event {}", name);
  CallScriptEvent(name);
}

}  // namespace

int RunStarter(const UninstallOptions& options, const std::wstring& arguments) {
  OpenUninstallLog();
  const std::wstring installFolder = PathFolder(ProgramPath());
  QMLOG_INFO("uninstall {} from {}", options.silent ? "silently" : "interactively", WideToAnsi(installFolder));
  if (!PrepareScripts(options, installFolder)) return kUninstallRefused;
  if (!options.silent &&
      MessageBoxW(nullptr, kConfirmText, kUninstallCaption, MB_YESNO | MB_ICONQUESTION | kBoxStyle) != IDYES) {
    QMLOG_INFO("the user keeps the product");
    return kUninstallDeclined;
  }
  if (!StartTemporaryCopy(installFolder, arguments)) {
    Tell(options, kNoCopyText, MB_ICONERROR);
    return kUninstallRefused;
  }
  return kUninstallStarted;
}

int RunTemporaryCopy(const UninstallOptions& options) {
  WaitForStarter(options.starterProcess);
  OpenUninstallLog();
  QMLOG_INFO("uninstalling {}", WideToAnsi(options.installFolder));
  if (!PrepareScripts(options, options.installFolder)) {
    ScheduleOwnRemoval();
    return kUninstallRefused;
  }
  SetHostGlobals(options, options.installFolder);
  FireEvent(script_names::kBeforeInit);
  FireEvent(script_names::kOnUninstall);
  if (options.reason) FireEvent(script_names::kFeedBack);
  FireEvent(script_names::kAfterUninstall);
  ScheduleOwnRemoval();
  QMLOG_INFO("uninstall complete");
  Tell(options, kDoneText, MB_ICONINFORMATION);
  return kUninstallStarted;
}
