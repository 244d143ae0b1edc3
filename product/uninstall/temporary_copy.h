// The uninstaller cannot delete its own file while it runs from it, nor the
// folder that holds it. So it copies itself to a fresh folder in the
// system's temporary folder (%SystemRoot%\Temp), which only the system and
// the administrators may change, and lets that copy do the uninstall; the
// copy waits for this process to end first.
#pragma once

#include <cstdint>
#include <string>

// Starts the copy with the switches that name the install folder and this
// process, followed by `arguments` (this process's own, as given). True
// when the copy runs.
bool StartTemporaryCopy(const std::wstring& installFolder, const std::wstring& arguments);

// In the copy: waits (a bounded time) until the process that started it has
// ended, and releases its handle.
void WaitForStarter(std::uintptr_t starterProcess);

// In the copy, once the uninstall is over: removes what the uninstall left
// beside the copy and has the copy and its folder deleted at the next
// restart (a running program's file cannot be deleted before).
void ScheduleOwnRemoval();
