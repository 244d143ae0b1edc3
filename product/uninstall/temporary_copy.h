// The uninstaller cannot delete its own file while it runs from it, nor the
// folder that holds it. So it puts a copy of itself in a fresh folder in the
// system's temporary folder (%SystemRoot%\Temp), which only the system and
// the administrators may change, lets that copy do the uninstall, and waits
// for it: whoever started the uninstaller learns the outcome from its exit
// code.
#pragma once

#include <optional>
#include <string>

// Starts the copy with the switch that names the install folder, followed
// by `arguments` (this process's own, as given), and waits until it has
// ended. Its exit code; none when the copy could not be made or started.
std::optional<int> RunTemporaryCopyToTheEnd(const std::wstring& installFolder, const std::wstring& arguments);

// In the copy, once the uninstall is over: removes what the uninstall left
// beside the copy and has the copy and its folder deleted at the next
// restart (a running program's file cannot be deleted before).
void ScheduleOwnRemoval();
