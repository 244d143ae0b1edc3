// The whole install on the main thread, without a window.
#pragma once

#include "app/startup/run_context.h"

void RunSilentInstall(const RunContext& context);

// Tells the listening window that the install is over (message 3014, sent),
// falling back to the well-known listener class when the window is gone.
void NotifyListenWindow(HWND listenWindow);
