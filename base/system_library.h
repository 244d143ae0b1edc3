// Loading libraries so that a file planted beside the program, or in the
// current folder, is never taken for a system library: the program runs
// elevated from a folder that anybody can write to.
#pragma once

#include <windows.h>

#include <string>

// A system library by its bare name ("version.dll"), from the system folder
// only.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The library file at `path` (a relative path from the current folder),
// whose own dependencies may come from its folder or the system folder.
HMODULE LoadLibraryFile(const std::wstring& path);

// A library named by a script or a host function: a name with a folder in it
// loads that file (a relative one from the current folder, as written), whose
// own dependencies may come from its folder or the system folder; a bare
// name is a system library.
HMODULE LoadNamedLibrary(const std::wstring& name);
