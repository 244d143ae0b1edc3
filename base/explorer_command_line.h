// The command line with which explorer.exe is asked to open a file, so that
// a program starts as a child of the shell rather than of the installer.
#pragma once

#include <string>

// explorer.exe "FILE" "PARAMETERS" - the quoted pair is there even when the
// parameters are empty.
std::wstring ExplorerCommandLine(const std::wstring& file, const std::wstring& parameters);
