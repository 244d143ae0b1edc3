// A Windows service for the service-control tests, and the tool that installs
// it. Usage:
//   test_service install NAME BEHAVIOUR   registers this program as a
//                                         demand-start own-process service
//   test_service remove NAME              stops it when running, deletes it
//   test_service state NAME               prints its current state number
//   test_service run BEHAVIOUR            the service process (the service
//                                         manager starts it this way)
// Behaviours:
//   normal         starts and stops within a fraction of a second
//   never-starts   stays "start pending" with a frozen checkpoint
//   quits          reports "start pending", then stops again by itself
//   never-stops    runs, but on a stop request stays "stop pending"
// A service stuck in a pending state gives up and stops on its own after
// kGiveUpMs, so a test run never leaves it behind.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr DWORD kGiveUpMs = 30000;
constexpr DWORD kStepMs = 200;
constexpr DWORD kWaitHintMs = 500;
constexpr DWORD kQuitExitCode = 42;

std::wstring behaviour;
SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status = {};
HANDLE stopRequested = nullptr;

void Report(DWORD state, DWORD waitHint = 0, DWORD checkPoint = 0) {
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  status.dwWaitHint = waitHint;
  status.dwCheckPoint = checkPoint;
  SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI Handler(DWORD control, DWORD, void*, void*) {
  if (control == SERVICE_CONTROL_STOP) {
    Report(SERVICE_STOP_PENDING, kWaitHintMs, 1);
    SetEvent(stopRequested);
  }
  return NO_ERROR;
}

void WINAPI ServiceMain(DWORD, wchar_t**) {
  statusHandle = RegisterServiceCtrlHandlerExW(L"", Handler, nullptr);
  if (!statusHandle) return;
  stopRequested = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Report(SERVICE_START_PENDING, kWaitHintMs, 1);

  if (behaviour == L"never-starts") {
    Sleep(kGiveUpMs);
  } else if (behaviour == L"quits") {
    Sleep(kStepMs);
    status.dwWin32ExitCode = kQuitExitCode;
  } else {
    Sleep(kStepMs);
    Report(SERVICE_RUNNING);
    WaitForSingleObject(stopRequested, INFINITE);
    // Stop pending, checkpoint frozen, until the service gives up.
    if (behaviour == L"never-stops") Sleep(kGiveUpMs);
    Sleep(kStepMs);
  }
  Report(SERVICE_STOPPED);
}

struct ServiceManager {
  SC_HANDLE handle = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  ~ServiceManager() {
    if (handle) CloseServiceHandle(handle);
  }
};

int Install(const wchar_t* name, const wchar_t* serviceBehaviour) {
  wchar_t self[MAX_PATH] = {};
  if (!GetModuleFileNameW(nullptr, self, MAX_PATH)) return 3;
  const std::wstring command = std::wstring(L"\"") + self + L"\" run " + serviceBehaviour;
  ServiceManager manager;
  if (!manager.handle) return 4;
  SC_HANDLE service = CreateServiceW(manager.handle, name, name, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                     SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, command.c_str(), nullptr,
                                     nullptr, nullptr, nullptr, nullptr);
  if (!service) {
    std::printf("install failed %lu\n", GetLastError());
    return 5;
  }
  CloseServiceHandle(service);
  return 0;
}

int Remove(const wchar_t* name) {
  ServiceManager manager;
  if (!manager.handle) return 4;
  SC_HANDLE service = OpenServiceW(manager.handle, name, SERVICE_ALL_ACCESS);
  if (!service) return 5;
  SERVICE_STATUS ignored;
  ControlService(service, SERVICE_CONTROL_STOP, &ignored);
  const bool deleted = DeleteService(service);
  CloseServiceHandle(service);
  return deleted ? 0 : 6;
}

int PrintState(const wchar_t* name) {
  ServiceManager manager;
  if (!manager.handle) return 4;
  SC_HANDLE service = OpenServiceW(manager.handle, name, SERVICE_QUERY_STATUS);
  if (!service) {
    std::printf("state none %lu\n", GetLastError());
    return 0;
  }
  SERVICE_STATUS current = {};
  const bool queried = QueryServiceStatus(service, &current);
  CloseServiceHandle(service);
  if (!queried) return 5;
  std::printf("state %lu\n", current.dwCurrentState);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring command = argv[1];
  if (command == L"install" && argc >= 4) return Install(argv[2], argv[3]);
  if (command == L"remove") return Remove(argv[2]);
  if (command == L"state") return PrintState(argv[2]);
  if (command != L"run") return 2;

  behaviour = argv[2];
  wchar_t emptyName[] = L"";
  const SERVICE_TABLE_ENTRYW table[] = {{emptyName, ServiceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherW(table) ? 0 : 7;
}
