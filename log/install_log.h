// The daily install log, opened at start-up beside `basePathAnsi` (the
// undated log name in the temporary folder, in the ANSI code page).
#pragma once

#include <string>

void OpenInstallLog(const std::string& basePathAnsi);

// One info line of the script's own (Lua_Logout), "log:" followed by the
// text in the ANSI code page, behind the location prefix of the script
// engine ("[nebscriptengine Lua_Logout: <line>] "). Does nothing while the
// run has no log.
void WriteScriptLogLine(const std::string& ansiText);
