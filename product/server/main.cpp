// LumetricaServer.exe: the product's background service, and the tool that
// installs it. The install script runs it with one task switch:
//   --InstallTask    registers this program as the automatic service
//                    "LumetricaServer" (an existing one is pointed here)
//   --StartTask      starts the service and waits until it runs
//   --UnInstallTask  stops the service when it runs and removes it
// Without a switch it is the service process the service manager starts.
// Exit code 0 when the task succeeded, 1 otherwise.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "product/server/service_tasks.h"

namespace {

SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status = {};
HANDLE stopRequested = nullptr;

void Report(DWORD state) {
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
  status.dwWin32ExitCode = NO_ERROR;
  status.dwWaitHint = state == SERVICE_RUNNING || state == SERVICE_STOPPED ? 0 : 1000;
  SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI Handler(DWORD control, DWORD, void*, void*) {
  if (control == SERVICE_CONTROL_STOP || control == SERVICE_CONTROL_SHUTDOWN) {
    Report(SERVICE_STOP_PENDING);
    SetEvent(stopRequested);
  }
  return NO_ERROR;
}

// The service keeps the product's background work; this version has none
// beyond being there, so it waits for the stop request.
void WINAPI ServiceMain(DWORD, wchar_t**) {
  statusHandle = RegisterServiceCtrlHandlerExW(kServiceName, Handler, nullptr);
  if (!statusHandle) return;
  stopRequested = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Report(SERVICE_RUNNING);
  WaitForSingleObject(stopRequested, INFINITE);
  Report(SERVICE_STOPPED);
}

// The first argument after the program's own name.
std::wstring TaskSwitch() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return L"";
  const std::wstring task = count > 1 ? arguments[1] : L"";
  LocalFree(arguments);
  return task;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  const std::wstring task = TaskSwitch();
  if (task == L"--InstallTask") return InstallServiceTask() ? 0 : 1;
  if (task == L"--StartTask") return StartServiceTask() ? 0 : 1;
  if (task == L"--UnInstallTask") return UninstallServiceTask() ? 0 : 1;
  SERVICE_TABLE_ENTRYW table[] = {{const_cast<wchar_t*>(kServiceName), ServiceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherW(table) ? 0 : 1;
}
