// Which files in the temporary folder belong to the daily log. The folder is
// shared with other programs, so only names that are the log's name followed
// by an underscore are ever touched.
#pragma once

#include <string>

#include "log/calendar.h"

// The base path split the way the logger uses it: the folder (without a
// trailing separator; "." when the path names no folder) and the logger's
// name, the file name without its extension.
struct LogBasePath {
  std::string folder;
  std::string name;
};
LogBasePath SplitLogBasePath(const std::string& basePath);

// name_Y-MM-DD.log, the file the daily log writes on `date`.
std::string DatedLogName(const std::string& name, const CalendarDate& date);

// Whether the folder entry `entry` is a log of `name` older than yesterday:
// neither today's nor yesterday's dated name, and its text before the first
// underscore (the whole entry when it has none) is exactly `name`.
bool IsOldLogName(const std::string& entry, const std::string& name, const CalendarDate& today);
