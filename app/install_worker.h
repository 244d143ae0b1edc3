// The long part of an interactive install, on a thread of its own: it tells
// a running product, runs the install script and asks the maker's service for
// the number shown at the end. It reaches the dialog only through the one
// message it posts when it is done (UM_QUERY_RESULT).
#pragma once

#include <windows.h>

// Thread procedure; the argument is the dialog's window. Returns 0.
DWORD WINAPI InstallWorker(LPVOID dialogWindow);
