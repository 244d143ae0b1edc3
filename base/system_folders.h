// The folders the system names for the user and the machine: the temporary
// folder and the special folders of the shell, each asked for one way.
#pragma once

#include <windows.h>
#include <shtypes.h>

#include <string>

// The user's temporary folder with its closing backslash; empty when the
// system gives none or it does not fit a path buffer (MAX_PATH units).
std::wstring TemporaryFolder();

// The shell's special folder `csidl` (CSIDL_*), created when `create` asks
// for it; empty when the system has none. The thread's last error then tells
// why.
std::wstring SpecialFolder(int csidl, bool create = false);

// The known folder `id` (FOLDERID_*), without creating it; empty when the
// system has none.
std::wstring KnownFolder(REFKNOWNFOLDERID id);
