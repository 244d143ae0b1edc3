// The two ways the uninstaller runs: as started by the user or the system
// (from the install folder), and as its own temporary copy, which does the
// uninstall. Each returns the process exit code.
#pragma once

#include <string>

#include "product/uninstall/uninstall_options.h"

// Exit codes, the same from the uninstaller as started and from its copy:
// 0 the uninstall ran to its end; 1 refused: the files it needs are
// missing or damaged, nothing deleted; 2 the user said no; 3 the copy could
// not be made or started, nothing deleted; 4 a script error stopped the
// uninstall part way. Each non-zero code has its reason in the daily log.
inline constexpr int kUninstallDone = 0;
inline constexpr int kUninstallRefused = 1;
inline constexpr int kUninstallDeclined = 2;
inline constexpr int kUninstallNotStarted = 3;
inline constexpr int kUninstallScriptFailed = 4;

// Checks the uninstall scripts in the program's own folder, asks the user
// (unless silent), starts the temporary copy with `arguments`, the
// program's own arguments as given, and ends with the copy's exit code.
int RunStarter(const UninstallOptions& options, const std::wstring& arguments);

// Runs the uninstall scripts from the install folder and fires their
// events; then tells the user (unless silent).
int RunTemporaryCopy(const UninstallOptions& options);
