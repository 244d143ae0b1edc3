// Drives the maker's statistics library: loads it, hands it this
// installer's identity, and passes action reports to it on the pool's one
// worker, so a slow or hanging network call never holds up the installer.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>

#include "app/statistics/csingle_t.h"
#include "app/statistics/stat_export_table.h"
#include "app/statistics/thread_pool_impl.h"

class QMStatModule : public CSingleT<QMStatModule>, public ThreadPoolImpl {
 public:
  // How long Uninit waits for a call still inside the library. A report is
  // one small message that takes far less on any working network; past
  // this the install ends without waiting further.
  static constexpr DWORD kUninitWaitMilliseconds = 3000;
  // The statistics library's file name, in the install folder and beside the installer.
  static constexpr wchar_t kLibraryName[] = L"rkstat.dll";

  // Starts the pool, loads the library (the given full path first, then
  // "rkstat.dll" beside the installer), sets the identity and the dispatch
  // address, and returns what stat_init reports; false when the library
  // could not be loaded. `registryKey` is the key under HKEY_CURRENT_USER
  // that holds the channel id.
  bool Init(const std::wstring& registryKey, const std::wstring& dispatchHost,
            const std::wstring& libraryPath);
  // Queues one action code for the library; returns at once.
  void ReportAction(DWORD code);
  // Stops the pool (the reports not yet taken are dropped), ends the
  // library's session and unloads it. Harmless without Init. When a call
  // has not returned within kUninitWaitMilliseconds, nothing more is called
  // and the library is not unloaded: its handle is left open on purpose (a
  // later Uninit, once that call has returned, closes it as usual).
  void Uninit();

 private:
  friend class CSingleT<QMStatModule>;
  QMStatModule() = default;

  void SendAction(DWORD code) const;
  void IdentifyInstaller() const;

  static constexpr unsigned char kAppId = 145;

  std::wstring registryKey_;
  std::wstring dispatchHost_;
  unsigned char appId_ = 0;

  // Held for every call into the library and while it is loaded or
  // unloaded: Uninit unloads it only once it can take the lock in time.
  mutable std::timed_mutex libraryLock_;
  HMODULE library_ = nullptr;
  StatExportTable exports_;
};
