#include "app/statistics.h"

// Until the reporter exists the install goes on as it does when the
// statistics library is missing: nothing is reported.
void StartStatisticsForInstall(const std::wstring&) {}

void ShutdownStatistics() {}
