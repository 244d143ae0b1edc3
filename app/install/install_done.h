// UM_INSTALL_DONE to the listening window another program named on the
// command line.
#pragma once

#include <windows.h>

// Sends UM_INSTALL_DONE (3014, parameters 0, 0) to `window` and waits for
// it to be handled, but a bounded time: a listener that hangs (or never
// answers) cannot freeze the installer. Nothing for a window of 0.
void SendInstallDone(HWND window);
