// A stand-in for the program that waits for the installer: it opens a
// top-level window, prints its handle in decimal, and prints one line for
// each install-done message it receives:
//   received 3014 wparam=W lparam=L sender-blocked=B
// then ends. Usage: listen_window [--class NAME] [--seconds N] [--hang N]
// With --class the window gets that class name (for the well-known listener
// class the installer falls back to). Ends after N seconds without a message.
// With --hang it stops answering on the message: the line is printed, then
// the window procedure sleeps N seconds before it returns, as a listener
// that hangs does.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr UINT kInstallDone = 3014;

DWORD hangMs = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kInstallDone) {
    // A sent message from another thread: the sender waits until we return.
    const bool senderBlocked = (InSendMessageEx(nullptr) & ISMEX_SEND) != 0;
    std::printf("received %u wparam=%llu lparam=%lld sender-blocked=%d\n", message,
                static_cast<unsigned long long>(wparam), static_cast<long long>(lparam),
                senderBlocked ? 1 : 0);
    std::fflush(stdout);
    Sleep(hangMs);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring className = L"NEBTestListenWindow";
  UINT seconds = 60;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::wcscmp(argv[i], L"--class") == 0) className = argv[i + 1];
    if (std::wcscmp(argv[i], L"--seconds") == 0) seconds = static_cast<UINT>(_wtoi(argv[i + 1]));
    if (std::wcscmp(argv[i], L"--hang") == 0) hangMs = static_cast<DWORD>(_wtoi(argv[i + 1])) * 1000;
  }

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className.c_str();
  if (!RegisterClassW(&windowClass)) return 2;
  const HWND window = CreateWindowW(className.c_str(), L"listen", WS_OVERLAPPED, 0, 0, 10, 10,
                                    nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!window) return 3;
  std::printf("hwnd %llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  std::fflush(stdout);

  SetTimer(window, 1, seconds * 1000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER) {
      std::printf("timeout\n");
      std::fflush(stdout);
      break;
    }
    DispatchMessageW(&message);
  }
  DestroyWindow(window);
  return 0;
}
