// Lumetrica.exe: the product's main program. One top-level window of class
// "Lumetrica". Started with "/startup system /s" (the autostart value) it
// stays in the background without showing its window; "/menu" marks a start
// from the start menu. Every start and every message 3023, which the
// installer posts to tell a running product that it was updated, goes into
// the product's event record.
#include <windows.h>

#include <string>

#include "product/lumetrica/event_record.h"

namespace {

constexpr UINT kProductNotify = 3023;
constexpr wchar_t kWindowClass[] = L"Lumetrica";
constexpr wchar_t kBackgroundSwitch[] = L"/startup system /s";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kProductNotify:
      RecordEvent(L"message 3023 wparam=" + std::to_wstring(wParam) + L" lparam=" + std::to_wstring(lParam));
      return 0;
    case WM_DESTROY:
      RecordEvent(L"exit");
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// The arguments after the program's own name, as the command line holds them.
std::wstring Arguments(const wchar_t* commandLine) {
  std::wstring line = commandLine;
  size_t end = 0;
  if (!line.empty() && line[0] == L'"') {
    end = line.find(L'"', 1);
    end = end == std::wstring::npos ? line.size() : end + 1;
  } else {
    end = line.find(L' ');
    if (end == std::wstring::npos) end = line.size();
  }
  const size_t start = line.find_first_not_of(L' ', end);
  return start == std::wstring::npos ? L"" : line.substr(start);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t*, int showCommand) {
  const std::wstring arguments = Arguments(GetCommandLineW());
  const bool background = arguments.find(kBackgroundSwitch) != std::wstring::npos;
  RecordEvent(L"start " + arguments);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&windowClass)) return 1;
  HWND window = CreateWindowExW(0, kWindowClass, L"Lumetrica", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                640, 420, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  if (!background) ShowWindow(window, showCommand);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
