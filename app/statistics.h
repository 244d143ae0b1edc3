// The statistics reporter as the rest of the installer sees it. The module
// that drives the outside statistics library plugs in behind these calls.
#pragma once

#include <string>

// Started after the install step, for the install folder.
void StartStatisticsForInstall(const std::wstring& installFolder);
// Ends both ways of running.
void ShutdownStatistics();
