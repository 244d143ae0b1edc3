// The entry points of the statistics library, looked up by name. Any of
// them may be missing: a missing one is simply never called.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

enum class StatExport : size_t {
  kInit,
  kProxy,
  kDispatchAddr,
  kOnlineAddr,
  kActionAddr,
  kInstallAddr,
  kLoginoutAddr,
  kUnionId,
  kAppId,
  kLevel,
  kVersion,
  kVersionEx,
  kOnline,
  kOffline,
  kAction,
  kMutilAction,
  kInstall,
  kClose,
  kAppInstall,
  kHttpPost,
  kCount
};

// The library's functions that the installer calls, in the Windows API
// calling convention; 8-bit arguments travel in a full word as usual.
using StatAppIdFunction = void(WINAPI*)(unsigned char appId);
using StatUnionIdFunction = void(WINAPI*)(DWORD channelId);
using StatVersionExFunction = void(WINAPI*)(DWORD major, DWORD minor, DWORD build, DWORD revision);
using StatDispatchAddrFunction = void(WINAPI*)(const char* host, DWORD port);
// Only the low byte of the result counts.
using StatInitFunction = DWORD(WINAPI*)();
using StatMutilActionFunction = void(WINAPI*)(const DWORD* codes, DWORD count, unsigned char flag);
using StatOfflineFunction = void(WINAPI*)();
using StatCloseFunction = void(WINAPI*)(DWORD value);

class StatExportTable {
 public:
  // Looks every name up, in the library's documented order.
  void LookUp(HMODULE library);
  void Clear() { entries_.fill(nullptr); }

  // The entry point as its function type, or null when it is missing.
  template <typename Function>
  Function Get(StatExport which) const {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(entries_[static_cast<size_t>(which)]));
  }

 private:
  std::array<FARPROC, static_cast<size_t>(StatExport::kCount)> entries_{};
};
