// The reference of the launch benchmark: a plain Win32 window of the same
// size as the markup window, painted with GDI, that ends after its first
// paint, printing the milliseconds from its launch to the end of that paint.
#include <windows.h>

#include <cstdio>

#include "tests/helpers/launch_clock.h"

namespace {

constexpr UINT kMsgFirstPaintDone = WM_APP + 0x100;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      const HDC dc = BeginPaint(window, &paint);
      const HBRUSH brush = CreateSolidBrush(RGB(0xF0, 0xF0, 0xF0));
      FillRect(dc, &paint.rcPaint, brush);
      DeleteObject(brush);
      EndPaint(window, &paint);
      std::printf("first-paint-ms %.2f\n", MillisecondsSinceProcessStart());
      PostMessageW(window, kMsgFirstPaintDone, 0, 0);
      return 0;
    }
    case kMsgFirstPaintDone:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int wmain() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = L"NEBBareWindow";
  if (!RegisterClassW(&windowClass)) return 2;
  const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"bare window", WS_POPUP, 0, 0, 400, 300, nullptr,
                                      nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 3;
  ShowWindow(window, SW_SHOWNORMAL);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
