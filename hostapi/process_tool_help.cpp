#include "hostapi/process_tool_help.h"

#include <tlhelp32.h>

#include "base/debug_line.h"
#include "hostapi/device_path.h"

namespace {

constexpr DWORD kEndWaitMs = 3000;
constexpr UINT kTerminatedExitCode = 0;
constexpr wchar_t kDebugPrivilege[] = L"SeDebugPrivilege";
constexpr DWORD kDriveListUnits = 512;
constexpr DWORD kDeviceNameUnits = MAX_PATH;

struct WindowsOfProcess {
  DWORD processId;
};

BOOL CALLBACK AskWindowToClose(HWND window, LPARAM context) {
  const DWORD processId = reinterpret_cast<const WindowsOfProcess*>(context)->processId;
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == processId) {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

bool Ended(HANDLE process) { return WaitForSingleObject(process, kEndWaitMs) == WAIT_OBJECT_0; }

}  // namespace

CProcessToolHelp::CProcessToolHelp() : snapshot_(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)) {
  if (!snapshot_) TraceLastError(L"CreateToolhelp32Snapshot failed!");
}

std::vector<ProcessEntry> CProcessToolHelp::Processes() const {
  std::vector<ProcessEntry> processes;
  if (!snapshot_) return processes;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot_.Get(), &entry); more; more = Process32NextW(snapshot_.Get(), &entry)) {
    if (entry.th32ProcessID != 0) processes.push_back({entry.th32ProcessID, entry.szExeFile});
  }
  return processes;
}

DWORD CProcessToolHelp::FindProcessByName(const std::wstring& name) const {
  for (const ProcessEntry& process : Processes()) {
    if (lstrcmpiW(process.exeName.c_str(), name.c_str()) == 0) return process.id;
  }
  return kNoProcess;
}

bool CProcessToolHelp::KillProcess(DWORD id) {
  if (id == 0) return true;
  WindowsOfProcess windows{id};
  EnumWindows(AskWindowToClose, reinterpret_cast<LPARAM>(&windows));
  EnablePrivilegeByName(kDebugPrivilege, true);

  UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id));
  // An id that names no process any more is refused as a bad parameter.
  if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;
  if (!Ended(process.Get()) && !TerminateProcess(process.Get(), kTerminatedExitCode)) {
    TraceLastError(L"TerminateProcess failed!");
  }
  return Ended(process.Get());
}

bool CProcessToolHelp::EnablePrivilegeByName(const wchar_t* name, bool enable) {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &rawToken)) {
    TraceLastError(L"OpenProcessToken failed!");
    return false;
  }
  const UniqueHandle token(rawToken);
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  if (!LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid)) {
    TraceLastError(L"LookupPrivilegeValue failed!");
    return false;
  }
  privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
  if (!AdjustTokenPrivileges(token.Get(), FALSE, &privileges, sizeof(privileges), nullptr, nullptr)) {
    TraceLastError(L"AdjustTokenPrivileges failed!");
    return false;
  }
  return true;
}

bool CProcessToolHelp::BuildDeviceMap() {
  wchar_t roots[kDriveListUnits] = {};
  const DWORD length = GetLogicalDriveStringsW(kDriveListUnits, roots);
  if (length == 0 || length >= kDriveListUnits) {
    TraceLastError(L"GetLogicalDriveStrings failed");
    return false;
  }
  for (const wchar_t* root = roots; *root; root += wcslen(root) + 1) {
    const wchar_t drive[] = {root[0], L':', L'\0'};
    wchar_t device[kDeviceNameUnits] = {};
    if (QueryDosDeviceW(drive, device, kDeviceNameUnits)) deviceDrives_.emplace(device, drive);
  }
  return true;
}

bool CProcessToolHelp::DevicePathToDosPath(std::wstring& path) {
  if (deviceDrives_.empty() && !BuildDeviceMap()) return false;
  const std::wstring prefix = DevicePrefix(path);
  const auto drive = deviceDrives_.find(prefix);
  // Dropping an unknown device would leave a path rooted on whatever drive
  // is current: better no answer than a wrong one.
  if (drive == deviceDrives_.end()) return false;
  path.replace(0, prefix.size(), drive->second);
  return true;
}
