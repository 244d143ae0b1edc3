// Clearing out the daily logs of earlier days, so the temporary folder keeps
// only today's and yesterday's.
#pragma once

#include <string>

#include "log/calendar.h"

// Today's date on the local clock.
CalendarDate LocalToday();

// Deletes the files in `folder` (ANSI code page) that IsOldLogName picks for
// `name` on `today`. Folders, files that cannot be deleted and a folder that
// cannot be listed are left as they are, without a report.
void RemoveOldLogs(const std::string& folder, const std::string& name, const CalendarDate& today);
