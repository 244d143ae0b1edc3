#include "hostapi/service_functions.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "base/debug_line.h"
#include "base/handles.h"
#include "hostapi/host_args.h"

namespace {

constexpr wchar_t kFunctionName[] = L"Lua_SCM";
constexpr wchar_t kStartAction[] = L"start";
constexpr wchar_t kStopAction[] = L"stop";
constexpr DWORD kServiceAccess = SERVICE_QUERY_STATUS | SERVICE_START | SERVICE_STOP;

// A service promises its next status report within its wait hint, and shows
// progress by changing its state or advancing its checkpoint. One that shows
// none for longer than its hint plus this grace has hung, or has stopped
// again during its start: the wait gives up on it.
constexpr ULONGLONG kProgressGraceMs = 5000;
// However steadily a service reports progress, the script thread is not held
// longer than this.
constexpr ULONGLONG kWaitLimitMs = 120000;
// A wait hint of 0 would make the poll spin.
constexpr ULONGLONG kMinimumPollMs = 100;

enum class WaitResult { kReached, kQueryFailed, kGaveUp };

// Polls until the service is in `wanted`, sleeping for its wait hint between
// queries.
WaitResult WaitForState(SC_HANDLE service, DWORD wanted) {
  const ULONGLONG started = GetTickCount64();
  const ULONGLONG limit = started + kWaitLimitMs;
  ULONGLONG lastProgress = started;
  SERVICE_STATUS last = {};
  for (bool first = true;; first = false) {
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(service, &status)) return WaitResult::kQueryFailed;
    if (status.dwCurrentState == wanted) return WaitResult::kReached;

    const ULONGLONG now = GetTickCount64();
    if (first || status.dwCurrentState != last.dwCurrentState || status.dwCheckPoint != last.dwCheckPoint) {
      lastProgress = now;
    }
    last = status;
    const ULONGLONG deadline = std::min(limit, lastProgress + status.dwWaitHint + kProgressGraceMs);
    if (now >= deadline) {
      DebugLine(L"Fun:%ls, Description: gave up waiting for state %u, the service stays in state %u\r\n",
                kFunctionName, static_cast<unsigned>(wanted), static_cast<unsigned>(status.dwCurrentState));
      return WaitResult::kGaveUp;
    }
    const ULONGLONG pause = std::min(std::max<ULONGLONG>(status.dwWaitHint, kMinimumPollMs), deadline - now);
    Sleep(static_cast<DWORD>(pause));
  }
}

bool ReportUnknownError() {
  DebugLine(L"Unknow Error in fun:%ls\r\n", kFunctionName);
  TraceLastError(L"");
  return false;
}

bool StartAndWait(SC_HANDLE service, DWORD currentState) {
  if (currentState == SERVICE_STOPPED && !StartServiceW(service, 0, nullptr)) {
    TraceLastError(L"StartService failed!");
    return false;
  }
  const WaitResult result = WaitForState(service, SERVICE_RUNNING);
  return result == WaitResult::kQueryFailed ? ReportUnknownError() : result == WaitResult::kReached;
}

bool StopAndWait(SC_HANDLE service, DWORD currentState) {
  SERVICE_STATUS status = {};
  if (currentState == SERVICE_RUNNING && !ControlService(service, SERVICE_CONTROL_STOP, &status)) {
    TraceLastError(L"StopService failed!");
    return false;
  }
  const WaitResult result = WaitForState(service, SERVICE_STOPPED);
  return result == WaitResult::kQueryFailed ? ReportUnknownError() : result == WaitResult::kReached;
}

bool ControlServiceByName(const std::wstring& name, const std::wstring& action) {
  const UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, GENERIC_EXECUTE));
  if (!manager) {
    TraceLastError(L"OpenSCManager failed!");
    return false;
  }
  const UniqueServiceHandle service(OpenServiceW(manager.Get(), name.c_str(), kServiceAccess));
  if (!service) {
    // Nothing to start or stop: the script's wish holds as far as it can.
    if (GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST) return true;
    TraceLastError(L"OpenService failed!");
    return false;
  }
  SERVICE_STATUS status = {};
  if (!QueryServiceStatus(service.Get(), &status)) {
    TraceLastError(L"QueryServiceStatus failed!");
    return false;
  }
  if (_wcsicmp(action.c_str(), kStartAction) == 0) return StartAndWait(service.Get(), status.dwCurrentState);
  if (_wcsicmp(action.c_str(), kStopAction) == 0) return StopAndWait(service.Get(), status.dwCurrentState);
  return ReportUnknownError();
}

}  // namespace

int Lua_SCM(lua_State* L) {
  const std::wstring name = ArgText(L, 1);
  const std::wstring action = ArgText(L, 2);
  lua_pushboolean(L, ControlServiceByName(name, action));
  return 1;
}
