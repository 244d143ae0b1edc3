#include "log/install_log.h"

// The daily file logger plugs in here; until then the run has no log file.
void OpenInstallLog(const std::string&) {}

// Wired to the daily logger together with OpenInstallLog; without a log
// there is nothing to write to.
void WriteScriptLogLine(const std::string&) {}
