#include "ui/dpi/dpi_awareness.h"

#include "base/handles.h"
#include "ui/dpi/dpi_scaler.h"

namespace SkinUI {

namespace {

constexpr int kProcessPerMonitorDpiAware = 2;
constexpr int kMonitorDpiEffective = 0;

using SetProcessDpiAwarenessFn = HRESULT(WINAPI*)(int awareness);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR monitor, int type, UINT* dpiX, UINT* dpiY);

// Shcore from the system folder only: a DLL of that name beside the
// installer must never be the one that loads.
UniqueModule LoadShcore() { return UniqueModule(LoadLibraryExW(L"Shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)); }

template <typename Fn>
Fn Lookup(const UniqueModule& module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module.Get(), name))) : nullptr;
}

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

bool MakeProcessPerMonitorDpiAware() {
  const UniqueModule shcore = LoadShcore();
  const auto set = Lookup<SetProcessDpiAwarenessFn>(shcore, "SetProcessDpiAwareness");
  return set && SUCCEEDED(set(kProcessPerMonitorDpiAware));
}

int MonitorDpi(HMONITOR monitor) {
  const UniqueModule shcore = LoadShcore();
  if (const auto get = Lookup<GetDpiForMonitorFn>(shcore, "GetDpiForMonitor")) {
    UINT dpiX = 0, dpiY = 0;
    if (SUCCEEDED(get(monitor, kMonitorDpiEffective, &dpiX, &dpiY))) return static_cast<int>(dpiX);
    MessageBoxW(nullptr, L"GetDpiForMonitor failed", L"Notification", MB_OK);
  }
  return ScreenDpi();
}

int WindowMonitorDpi(HWND window) { return MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)); }

int DisplaySettingsDpi() {
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) ||
      !GetMonitorInfoW(MonitorFromWindow(GetDesktopWindow(), MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    return 96;
  }
  const int dpi = DpiFromDisplayRatio(static_cast<int>(mode.dmPelsWidth),
                                      monitor.rcMonitor.right - monitor.rcMonitor.left);
  return dpi != 0 ? dpi : MonitorDpi(MonitorFromPoint(POINT{1, 1}, MONITOR_DEFAULTTOPRIMARY));
}

}  // namespace SkinUI
