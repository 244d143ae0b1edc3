#include "app/install/install_mgr.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "app/statistics/statistics.h"
#include "base/debug_line.h"
#include "base/module_path.h"
#include "base/path_exists.h"
#include "base/system_folders.h"
#include "files/install_record.h"
#include "script/nebscript_engine.h"
#include "script/script_globals.h"
#include "scripts/global_names.h"

namespace {

constexpr wchar_t kUserDataMarker[] = L"@ung";
constexpr wchar_t kProductFolder[] = L"Lumetrica";

std::wstring PerUserDataRoot() {
  std::wstring root = SpecialFolder(CSIDL_LOCAL_APPDATA);
  if (root.empty()) root = SpecialFolder(CSIDL_APPDATA);
  if (root.empty()) root = TemporaryFolder();
  return root;
}

void PrepareUserDataFolder() {
  std::wstring folder = PerUserDataRoot();
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  folder += kProductFolder;
  folder += L'\\';
  if (!PathExists(folder)) {
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  }
}

}  // namespace

CInstallMgr& CInstallMgr::Instance() {
  static CInstallMgr manager;
  return manager;
}

void CInstallMgr::BeforeInit() {
  // The engine is held for the whole event, native work included.
  const NEBScriptEngine::Access engine = NEBScriptEngine::Instance().Lock();
  CallScriptEvent(script_names::kBeforeInit);
}

void CInstallMgr::BeforeInstall() {
  const NEBScriptEngine::Access engine = NEBScriptEngine::Instance().Lock();
  CallScriptEvent(script_names::kBeforeInstall);
}

void CInstallMgr::InstallExecute() {
  const NEBScriptEngine::Access engine = NEBScriptEngine::Instance().Lock();
  // What the script writes into the install folder is recorded for an
  // uninstall that cannot tell the folder is the product's alone.
  StartInstallRecord();
  CallScriptEvent(script_names::kOnInstall);
  const std::wstring folder = GetGlobalText(engine.State(), script_names::kInstallPath);
  if (!FinishInstallRecord(folder)) DebugLine(L"the install record of %ls was not written\r\n", folder.c_str());
  StartStatisticsForInstall(folder, GetGlobalText(engine.State(), script_names::kStatDispatchHost));
}

void CInstallMgr::BeforeComplete() {
  const NEBScriptEngine::Access engine = NEBScriptEngine::Instance().Lock();
  CallScriptEvent(script_names::kBeforeComplete);
  if (ProgramNameAsksForUserDataFolder()) PrepareUserDataFolder();
}

void CInstallMgr::AfterComplete() {
  const NEBScriptEngine::Access engine = NEBScriptEngine::Instance().Lock();
  CallScriptEvent(script_names::kAfterComplete);
}

bool ProgramNameAsksForUserDataFolder() {
  return ProgramFileName().find(kUserDataMarker) != std::wstring::npos;
}
