// A program with one top-level window, for the process-ending tests. It
// prints "ready pid=P hwnd=H" once the window exists, then one line for each
// close request or user message posted to the window:
//   posted MESSAGE WPARAM LPARAM        (decimal)
// Usage: window_target [--class NAME] [--mode close|ignore] [--seconds N]
// In "close" mode (the default) the window closes as windows normally do,
// and the program prints "closed" and ends with exit code 7. In "ignore"
// mode it refuses to close. Message 0x8001 (WM_APP + 1), posted to the
// window, is not recorded: the program prints "stopped" and ends with exit
// code 5. Without being ended it prints "timeout" after N seconds and ends
// with exit code 3.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int kClosedExitCode = 7;
constexpr int kTimeoutExitCode = 3;
constexpr int kStoppedExitCode = 5;
constexpr UINT kStopMessage = WM_APP + 1;

bool ignoreClose = false;

// Messages a closing tool sends: the null message, close requests, and
// anything an application defines.
bool Recorded(UINT message) {
  return message == WM_NULL || message == WM_CLOSE || message == WM_SYSCOMMAND || message >= WM_USER;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (ignoreClose && (message == WM_CLOSE || (message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_CLOSE))) {
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(kClosedExitCode);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring className = L"NEBTestWindowTarget";
  UINT seconds = 60;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::wcscmp(argv[i], L"--class") == 0) className = argv[i + 1];
    if (std::wcscmp(argv[i], L"--mode") == 0) ignoreClose = std::wcscmp(argv[i + 1], L"ignore") == 0;
    if (std::wcscmp(argv[i], L"--seconds") == 0) seconds = static_cast<UINT>(_wtoi(argv[i + 1]));
  }

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className.c_str();
  if (!RegisterClassW(&windowClass)) return 2;
  const HWND window = CreateWindowW(className.c_str(), L"target", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                    nullptr, windowClass.hInstance, nullptr);
  if (!window) return 2;
  std::printf("ready pid=%lu hwnd=%llu\n", GetCurrentProcessId(),
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  std::fflush(stdout);

  SetTimer(nullptr, 0, seconds * 1000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr) {
      std::printf("timeout\n");
      std::fflush(stdout);
      return kTimeoutExitCode;
    }
    if (message.hwnd == window && message.message == kStopMessage) {
      std::printf("stopped\n");
      std::fflush(stdout);
      return kStoppedExitCode;
    }
    if (message.hwnd == window && Recorded(message.message)) {
      std::printf("posted %u %llu %lld\n", message.message, static_cast<unsigned long long>(message.wParam),
                  static_cast<long long>(message.lParam));
      std::fflush(stdout);
    }
    DispatchMessageW(&message);
  }
  std::printf("closed\n");
  std::fflush(stdout);
  return kClosedExitCode;
}
