// Uninstall.exe: the product's uninstaller, registered as the Apps entry's
// uninstall command. This version of the product carries the uninstaller's
// scripts (Uninst.dar0, Uninst.dar1) but not yet the program that runs
// them; it ends at once.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  return 0;
}
