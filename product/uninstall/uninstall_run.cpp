#include "product/uninstall/uninstall_run.h"

#include <windows.h>

#include <optional>

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

// A script error ends the run with `kExitCode`, its report in the log, and
// in a box too unless the run is silent (the exit code tells the caller).
// The temporary copy has itself removed at the next restart first, as it
// does at any other end.
template <int kExitCode, bool kShowBox, bool kTemporaryCopy>
[[noreturn]] void ReportScriptErrorAndExit(const std::wstring& report) {
  QMLOG_ERROR("script error: {}", WideToUtf8(report));
  QMLOG_INFO("exit code {}", kExitCode);
  if (const auto logger = CQMBaseLog::Instance().Logger()) logger->flush();
  if (kTemporaryCopy) ScheduleOwnRemoval();
  if (kShowBox) ShowScriptErrorBox(report);
  ExitProcess(kExitCode);
}

template <int kExitCode, bool kTemporaryCopy>
ScriptErrorPresenter ScriptErrorPresenterFor(bool silent) {
  return silent ? ReportScriptErrorAndExit<kExitCode, false, kTemporaryCopy>
                : ReportScriptErrorAndExit<kExitCode, true, kTemporaryCopy>;
}

template <int kExitCode>
void ExitOnScriptError(const UninstallOptions& options) {
  SetScriptErrorPresenter(options.IsTemporaryCopy() ? ScriptErrorPresenterFor<kExitCode, true>(options.silent)
                                                    : ScriptErrorPresenterFor<kExitCode, false>(options.silent));
}

// Interactive: a message box; silent: the log only.
void Tell(const UninstallOptions& options, const std::wstring& text, UINT icon) {
  QMLOG_INFO("{}", WideToUtf8(text));
  if (!options.silent) MessageBoxW(nullptr, text.c_str(), kUninstallCaption, MB_OK | icon | kBoxStyle);
}

// Both chunks run, or the user learns which file is missing or damaged.
bool PrepareScripts(const UninstallOptions& options, const std::wstring& installFolder) {
  // A chunk that fails while it runs is damaged.
  ExitOnScriptError<kUninstallRefused>(options);
  const std::wstring broken = RunUninstallScripts(installFolder);
  if (broken.empty()) return true;
  Tell(options, kRefusedTextBefore + broken + kRefusedTextAfter, MB_ICONERROR);
  return false;
}

void SetHostGlobals(const UninstallOptions& options, const std::wstring& installFolder) {
  const NEBScriptEngine::Access engine = NEBScriptEngine::Instance().Lock();
  lua_State* L = engine.State();
  SetGlobalText(L, script_names::kInstallPath, installFolder);
  // The file the starter runs from lies in the copy's folder, so the
  // uninstaller's file in the install folder can be deleted.
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

int Finish(int exitCode) {
  QMLOG_INFO("exit code {}", exitCode);
  return exitCode;
}

void FireEvent(const char* name) {
  QMLOG_INFO("event {}", name);
  CallScriptEvent(name);
}

}  // namespace

int RunStarter(const UninstallOptions& options, const std::wstring& arguments) {
  OpenUninstallLog();
  const std::wstring installFolder = PathFolder(ProgramPath());
  QMLOG_INFO("uninstall {} from {}", options.silent ? "silently" : "interactively", WideToUtf8(installFolder));
  if (!PrepareScripts(options, installFolder)) return Finish(kUninstallRefused);
  if (!options.silent &&
      MessageBoxW(nullptr, kConfirmText, kUninstallCaption, MB_YESNO | MB_ICONQUESTION | kBoxStyle) != IDYES) {
    QMLOG_INFO("the user keeps the product");
    return Finish(kUninstallDeclined);
  }
  const std::optional<int> copyExitCode = RunTemporaryCopyToTheEnd(installFolder, arguments);
  if (!copyExitCode) {
    Tell(options, kNoCopyText, MB_ICONERROR);
    return Finish(kUninstallNotStarted);
  }
  return Finish(*copyExitCode);
}

int RunTemporaryCopy(const UninstallOptions& options) {
  OpenUninstallLog();
  QMLOG_INFO("uninstalling {}", WideToUtf8(options.installFolder));
  if (!PrepareScripts(options, options.installFolder)) {
    ScheduleOwnRemoval();
    return Finish(kUninstallRefused);
  }
  SetHostGlobals(options, options.installFolder);
  ExitOnScriptError<kUninstallScriptFailed>(options);
  FireEvent(script_names::kBeforeInit);
  FireEvent(script_names::kOnUninstall);
  if (options.reason) FireEvent(script_names::kFeedBack);
  FireEvent(script_names::kAfterUninstall);
  ScheduleOwnRemoval();
  QMLOG_INFO("uninstall complete");
  Tell(options, kDoneText, MB_ICONINFORMATION);
  return Finish(kUninstallDone);
}
