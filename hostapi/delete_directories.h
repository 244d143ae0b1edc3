// Removal of a folder tree, file by file, for the recursive delete host
// functions. Nothing is reported back to the caller: a file that cannot be
// deleted stays, and so do the folders above it.
#pragma once

#include <string>

#include "hostapi/host_args.h"

// Deletes everything below `path` (read-only files included) and then the
// folder itself. Folder links inside the tree are removed as links, never
// followed. When the folder is the process's current folder, its parent
// becomes the current folder first.
void DeleteDirectories(const std::wstring& path);

// The same, calling `onFailure(path, code)` for every file that cannot be
// deleted, with the system's error code. `onFailure` may be null or hold no
// function.
void DeleteDirectoriesEx(const std::wstring& path, ScriptCallback* onFailure);
