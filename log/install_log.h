// The daily install log, opened at start-up beside `basePathAnsi` (the
// undated log name in the temporary folder, in the ANSI code page).
#pragma once

#include <string>

void OpenInstallLog(const std::string& basePathAnsi);
