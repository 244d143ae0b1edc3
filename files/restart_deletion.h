// Deletion at the next restart, left only where nobody but the machine's
// administrators can redirect it. The system resolves the path at boot, long
// after the check: a folder on the way that another user can rename or
// re-permission could by then be a junction to a system folder.
#pragma once

#include <string>

// Schedules `path` for deletion at the next restart (MOVEFILE_DELAY_UNTIL_
// REBOOT). Refused, with a debug line naming `function`, when a component of
// the path is a junction or symbolic link, or when, for any component from
// the drive's root to the path itself, an account other than the system,
// the administrators, the system's installer service and the account running
// this program owns it or may delete, rename or re-permission it, or, for a
// folder the path names, may write into it (OthersCanChange, PathPlace).
// True when scheduled.
//
// The account running this program counts with the administrators:
// scheduling needs administrator rights, so it is the administrator who
// started the elevated program, and its own folders (its temporary folder,
// where the scripts move files in use aside) are no other user's to change.
bool ScheduleDeletionAtRestart(const wchar_t* function, const std::wstring& path);
