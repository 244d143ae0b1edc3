#include "product/server/service_tasks.h"

#include <windows.h>

#include <string>

#include "base/handles.h"

namespace {

constexpr wchar_t kDisplayName[] = L"Lumetrica Service";
// The service needs no more than a local account's rights: it must not run
// as the system, whose rights anyone who can change its files would get.
constexpr wchar_t kServiceAccount[] = L"NT AUTHORITY\\LocalService";
constexpr DWORD kStateWaitMs = 15000;
// The install waits on the start: a short poll ends that wait soon after
// the service runs.
constexpr DWORD kPollMs = 10;

std::wstring QuotedOwnPath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return L"\"" + std::wstring(path, length) + L"\"";
}

UniqueServiceHandle OpenManager(DWORD access) {
  return UniqueServiceHandle(OpenSCManagerW(nullptr, nullptr, access));
}

// Waits, within a bound, for the service to leave its pending states.
bool WaitForState(SC_HANDLE service, DWORD wanted) {
  const ULONGLONG end = GetTickCount64() + kStateWaitMs;
  SERVICE_STATUS status{};
  while (QueryServiceStatus(service, &status)) {
    if (status.dwCurrentState == wanted) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(kPollMs);
  }
  return false;
}

}  // namespace

bool InstallServiceTask() {
  UniqueServiceHandle manager = OpenManager(SC_MANAGER_CREATE_SERVICE | SC_MANAGER_CONNECT);
  if (!manager) return false;
  const std::wstring command = QuotedOwnPath();
  UniqueServiceHandle service(CreateServiceW(manager.Get(), kServiceName, kDisplayName, SERVICE_ALL_ACCESS,
                                             SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                             command.c_str(), nullptr, nullptr, nullptr, kServiceAccount, L""));
  if (service) return true;
  if (GetLastError() != ERROR_SERVICE_EXISTS) return false;
  service.Reset(OpenServiceW(manager.Get(), kServiceName, SERVICE_CHANGE_CONFIG));
  return service && ChangeServiceConfigW(service.Get(), SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START,
                                         SERVICE_ERROR_NORMAL, command.c_str(), nullptr, nullptr, nullptr,
                                         kServiceAccount, L"", kDisplayName);
}

bool StartServiceTask() {
  UniqueServiceHandle manager = OpenManager(SC_MANAGER_CONNECT);
  if (!manager) return false;
  UniqueServiceHandle service(OpenServiceW(manager.Get(), kServiceName, SERVICE_START | SERVICE_QUERY_STATUS));
  if (!service) return false;
  if (!StartServiceW(service.Get(), 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) return false;
  return WaitForState(service.Get(), SERVICE_RUNNING);
}

bool UninstallServiceTask() {
  UniqueServiceHandle manager = OpenManager(SC_MANAGER_CONNECT);
  if (!manager) return false;
  UniqueServiceHandle service(OpenServiceW(manager.Get(), kServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE));
  if (!service) return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
  SERVICE_STATUS status{};
  // A service whose process was ended from outside takes no control; there
  // is nothing to wait for then.
  if (QueryServiceStatus(service.Get(), &status) && status.dwCurrentState != SERVICE_STOPPED &&
      ControlService(service.Get(), SERVICE_CONTROL_STOP, &status)) {
    WaitForState(service.Get(), SERVICE_STOPPED);
  }
  return DeleteService(service.Get()) || GetLastError() == ERROR_SERVICE_MARKED_FOR_DELETE;
}
