// The two ways the uninstaller runs: as started by the user or the system
// (from the install folder), and as its own temporary copy, which does the
// uninstall. Each returns the process exit code.
#pragma once

#include <string>

#include "product/uninstall/uninstall_options.h"

// Exit codes: the uninstall ran (or, from the starter, its copy runs); the
// files it needs are missing or damaged, or the copy could not start; the
// user said no.
inline constexpr int kUninstallStarted = 0;
inline constexpr int kUninstallRefused = 1;
inline constexpr int kUninstallDeclined = 2;

// Checks the uninstall scripts in the program's own folder, asks the user
// (unless silent) and starts the temporary copy with `arguments`, the
// program's own arguments as given.
int RunStarter(const UninstallOptions& options, const std::wstring& arguments);

// Waits for the starter, runs the uninstall scripts from the install folder
// and fires their events; then tells the user (unless silent).
int RunTemporaryCopy(const UninstallOptions& options);
