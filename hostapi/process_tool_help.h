// Running processes as the host functions see them: a snapshot taken when
// the object is made, ending processes politely and then by force, and the
// drive-letter form of the device paths the kernel reports.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "base/handles.h"

// The id that stands for "no such process".
constexpr DWORD kNoProcess = static_cast<DWORD>(-1);

struct ProcessEntry {
  DWORD id;
  std::wstring exeName;  // file name only, no folder
};

class CProcessToolHelp {
 public:
  CProcessToolHelp();

  // The snapshot's processes in snapshot order, without the idle process
  // (id 0); empty when the snapshot could not be taken or read.
  std::vector<ProcessEntry> Processes() const;

  // The id of the first process whose executable name equals `name`
  // without regard to case, or kNoProcess.
  DWORD FindProcessByName(const std::wstring& name) const;

  // Asks the process's top-level windows to close, gives it 3 s to end,
  // then terminates it and gives it 3 s more. True when it has ended (or
  // no longer existed).
  bool KillProcess(DWORD id);

  // Enables or disables a privilege of the process token. True when the
  // adjustment call succeeded, also for a privilege the token lacks.
  static bool EnablePrivilegeByName(const wchar_t* name, bool enable);

  // Rewrites a device path ("\Device\HarddiskVolume1\dir\a.exe") to its
  // drive-letter form ("C:\dir\a.exe"). False when the drive list cannot be
  // read or no drive maps the path's device; the path is then unchanged.
  bool DevicePathToDosPath(std::wstring& path);

 private:
  bool BuildDeviceMap();

  UniqueHandle snapshot_;
  std::map<std::wstring, std::wstring> deviceDrives_;  // "\Device\HarddiskVolume1" -> "C:"
};
