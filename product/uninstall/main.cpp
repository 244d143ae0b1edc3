// Uninstall.exe: the product's uninstaller, registered as the Apps entry's
// uninstall command. It runs the uninstall script that the install left in
// the install folder ("Uninst.dar1", after the settings in "Uninst.dar0") in
// the same script engine as the installer, from a temporary copy of itself.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "product/uninstall/uninstall_options.h"
#include "product/uninstall/uninstall_run.h"

namespace {

std::vector<std::wstring> Arguments() {
  int count = 0;
  wchar_t** split = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> arguments;
  for (int i = 1; split && i < count; ++i) arguments.emplace_back(split[i]);
  LocalFree(split);
  return arguments;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const UninstallOptions options = ParseUninstallOptions(Arguments());
  if (options.IsTemporaryCopy()) return RunTemporaryCopy(options);
  return RunStarter(options, PathGetArgsW(GetCommandLineW()));
}
