// The statistics reporter as the rest of the installer sees it: the calls
// that start it, feed it and end it, over the module that drives the
// outside statistics library.
#pragma once

#include <string>

// Started after the install step, with the library that the payload put
// into the install folder and the dispatch host the settings name (empty:
// the maker's own). Writes the outcome to the log.
void StartStatisticsForInstall(const std::wstring& installFolder, const std::wstring& dispatchHost);
// The options the user chose in the dialog, reported when the install is
// complete; an option the dialog does not show counts as not chosen.
void ReportChosenOptions(bool desktopShortcut, bool startWithWindows);
// Ends both ways of running, whether the reporter was started or not.
void ShutdownStatistics();
