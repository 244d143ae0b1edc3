// The product's own record of what happened to it: one line per event in
// "events.log" of its user-data folder (%LOCALAPPDATA%\Lumetrica).
#pragma once

#include <string>

void RecordEvent(const std::wstring& line);
