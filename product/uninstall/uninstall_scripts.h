// The two chunks the install left for the uninstaller in the install
// folder: the settings ("Uninst.dar0") and the uninstall script
// ("Uninst.dar1"), run in that order into the one script engine.
#pragma once

#include <string>

// Runs both chunks from the folder. Returns the empty text when both ran
// and the uninstall script offers its uninstall event, otherwise the full
// path of the first file that is missing, unreadable or damaged. A script
// error while a chunk runs goes to the engine's error report.
std::wstring RunUninstallScripts(const std::wstring& installFolder);
