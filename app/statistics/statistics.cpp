#include "app/statistics/statistics.h"

#include "app/statistics/qm_stat_module.h"
#include "base/path_text.h"
#include "log/qm_base_log.h"

namespace {

constexpr wchar_t kStatRegistryKey[] = L"SOFTWARE\\Lumetrica";
constexpr wchar_t kDefaultDispatchHost[] = L"dispatch.stat.example.net";

constexpr DWORD kDesktopShortcutChosen = 25103;
constexpr DWORD kDesktopShortcutNotChosen = 25104;
constexpr DWORD kStartWithWindowsChosen = 25105;
constexpr DWORD kStartWithWindowsNotChosen = 25106;

}  // namespace

void StartStatisticsForInstall(const std::wstring& installFolder, const std::wstring& dispatchHost) {
  const bool ready = QMStatModule::GetInstance()->Init(kStatRegistryKey,
                                                       dispatchHost.empty() ? kDefaultDispatchHost : dispatchHost,
                                                       JoinPath(installFolder, QMStatModule::kLibraryName).value_or(L""));
  QMLOG_INFO("QMStatModule Init:{}", ready);
}

void ReportChosenOptions(bool desktopShortcut, bool startWithWindows) {
  const std::shared_ptr<QMStatModule> module = QMStatModule::GetInstance();
  module->ReportAction(desktopShortcut ? kDesktopShortcutChosen : kDesktopShortcutNotChosen);
  module->ReportAction(startWithWindows ? kStartWithWindowsChosen : kStartWithWindowsNotChosen);
}

void ShutdownStatistics() { QMStatModule::GetInstance()->Uninit(); }
