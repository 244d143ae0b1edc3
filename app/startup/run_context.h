// What start-up learns before it chooses between the silent install and the
// dialog, handed to whichever runs.
#pragma once

#include <windows.h>

#include <string>

#include "app/startup/cmdline_switches.h"

struct RunContext {
  std::wstring logBasePath;      // the undated log name in the temporary folder
  HWND listenWindow = nullptr;   // told when the install has finished; may be none
  CCmdLineSwitches switches;
};
