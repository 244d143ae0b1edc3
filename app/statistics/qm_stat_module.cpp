#include "app/statistics/qm_stat_module.h"

#include <chrono>
#include <memory>

#include "app/statistics/easy_task0.h"
#include "app/statistics/program_version.h"
#include "base/handles.h"
#include "base/module_path.h"
#include "base/path_text.h"
#include "base/registry_key.h"
#include "base/text.h"
#include "log/qm_base_log.h"

namespace {

constexpr wchar_t kChannelValue[] = L"UnionId";
constexpr DWORD kDefaultChannel = 27021;
constexpr DWORD kLowestChannel = 100;
constexpr DWORD kDispatchPort = 8700;
constexpr DWORD kCloseValue = 3000;
constexpr unsigned char kActionFlag = 0;
constexpr DWORD kInitResultMask = 0xFF;

HMODULE LoadByFullPath(const std::wstring& path) {
  // A bare or relative name would be searched for, and could be found in a
  // folder anyone can write to, such as the one the installer was
  // downloaded into.
  if (!IsFullPath(path)) return nullptr;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadStatLibrary(const std::wstring& libraryPath) {
  if (const HMODULE library = LoadByFullPath(libraryPath)) return library;
  const std::optional<std::wstring> besideProgram = JoinPath(PathFolder(ProgramPath()), QMStatModule::kLibraryName);
  return besideProgram ? LoadByFullPath(*besideProgram) : nullptr;
}

// The distribution channel recorded under the key; channels below 100 are
// not real ones.
DWORD ChannelId(const std::wstring& registryKey) {
  UniqueRegKey key;
  if (OpenRegistryKey(HKEY_CURRENT_USER, registryKey, KEY_READ, key) != ERROR_SUCCESS) return kDefaultChannel;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegQueryValueExW(key.Get(), kChannelValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value) || value < kLowestChannel) {
    return kDefaultChannel;
  }
  return value;
}

}  // namespace

bool QMStatModule::Init(const std::wstring& registryKey, const std::wstring& dispatchHost,
                        const std::wstring& libraryPath) {
  Start();
  std::lock_guard<std::timed_mutex> hold(libraryLock_);
  appId_ = kAppId;
  registryKey_ = registryKey;
  dispatchHost_ = dispatchHost;
  if (!library_) library_ = LoadStatLibrary(libraryPath);
  if (!library_) return false;
  exports_.LookUp(library_);
  IdentifyInstaller();
  const auto init = exports_.Get<StatInitFunction>(StatExport::kInit);
  return init && (init() & kInitResultMask) != 0;
}

void QMStatModule::IdentifyInstaller() const {
  if (const auto appId = exports_.Get<StatAppIdFunction>(StatExport::kAppId)) appId(appId_);
  if (const auto unionId = exports_.Get<StatUnionIdFunction>(StatExport::kUnionId)) {
    unionId(ChannelId(registryKey_));
  }
  if (const auto versionEx = exports_.Get<StatVersionExFunction>(StatExport::kVersionEx)) {
    const std::array<DWORD, 4> version = ProgramProductVersion();
    versionEx(version[0], version[1], version[2], version[3]);
  }
  if (const auto dispatchAddr = exports_.Get<StatDispatchAddrFunction>(StatExport::kDispatchAddr)) {
    dispatchAddr(WideToAnsi(dispatchHost_).c_str(), kDispatchPort);
  }
}

void QMStatModule::ReportAction(DWORD code) {
  AddTask(std::make_shared<EasyTask0>([module = shared_from_this(), code] { module->SendAction(code); }));
}

void QMStatModule::SendAction(DWORD code) const {
  std::lock_guard<std::timed_mutex> hold(libraryLock_);
  if (const auto send = exports_.Get<StatMutilActionFunction>(StatExport::kMutilAction)) {
    const DWORD codes[] = {code};
    send(codes, 1, kActionFlag);
  }
}

void QMStatModule::Uninit() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kUninitWaitMilliseconds);
  std::unique_lock<std::timed_mutex> hold(libraryLock_, std::defer_lock);
  if (!Stop(kUninitWaitMilliseconds) || !hold.try_lock_until(deadline)) {
    // Unloading now could pull the code out from under that call, and a
    // library stuck in one call may be stuck in the next: leave it alone.
    QMLOG(spdlog::level::warn,
          "a statistics call has not returned after {} ms; rkstat.dll is left loaded and its session open",
          kUninitWaitMilliseconds);
    return;
  }
  if (const auto offline = exports_.Get<StatOfflineFunction>(StatExport::kOffline)) offline();
  if (const auto close = exports_.Get<StatCloseFunction>(StatExport::kClose)) close(kCloseValue);
  if (library_) FreeLibrary(library_);
  library_ = nullptr;
  exports_.Clear();
}
