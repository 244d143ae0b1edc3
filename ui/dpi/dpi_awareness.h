// The system's side of DPI: the process's awareness and the DPI of a monitor.
#pragma once

#include <windows.h>

namespace SkinUI {

// Shcore's SetProcessDpiAwareness(per-monitor); a system without it is left
// as it is. True when the call succeeded.
bool MakeProcessPerMonitorDpiAware();
// GetDpiForMonitor's effective horizontal DPI; a failing call shows a
// message box. Without Shcore, or after a failure: the screen DC's DPI.
int MonitorDpi(HMONITOR monitor);
// The DPI of the monitor that holds most of the window.
int WindowMonitorDpi(HWND window);
// A second estimate, for a device context that reports no DPI: the display
// mode's pixel width against the desktop monitor's width; when they agree,
// the DPI of the primary monitor.
int DisplaySettingsDpi();

}  // namespace SkinUI
