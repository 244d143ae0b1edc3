// Deletion at the next restart, left only where nobody but the machine's
// administrators can redirect it. The system resolves the path at boot, long
// after the check: a folder on the way that another user can rename or
// re-permission could by then be a junction to a system folder.
#pragma once

#include <string>

// Schedules `path` for deletion at the next restart (MOVEFILE_DELAY_UNTIL_
// REBOOT). Refused, with a debug line naming `function`, when a component of
// the path is a junction or symbolic link, or when a user other than the
// system, the administrators, the system's installer service and the account
// running this program owns any component or may delete, rename or
// re-permission it. True when scheduled.
bool ScheduleDeletionAtRestart(const wchar_t* function, const std::wstring& path);

// Whether a user other than those above owns the file or folder at `path`
// or may delete it, delete entries in it, or change its permissions or
// owner. True also when its security cannot be read.
bool OtherUsersCanChange(const std::wstring& path);
