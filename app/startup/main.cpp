#include <windows.h>

#include "app/startup/startup.h"

// The command line is read back from the system; the entry's own arguments
// are not used.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return RunInstaller(); }
