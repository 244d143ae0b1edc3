// Removal of a folder tree, file by file, for the recursive delete host
// functions. Nothing is reported back to the caller: a file that cannot be
// deleted stays, and so do the folders above it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Told of each file that cannot be deleted: its path and the system's error
// code. An empty report is told nothing.
using DeletionFailure = std::function<void(const std::wstring& path, DWORD code)>;

// Deletes everything below `path` (read-only files included) and then the
// folder itself. Every entry is opened through the handle of the folder that
// holds it, so a link is removed as a link, never followed, and an entry
// swapped for a link while the work runs is left alone. When the folder is the process's current folder, its parent
// becomes the current folder first.
void DeleteDirectories(const std::wstring& path);

// The same, calling `onFailure(path, code)` for every file that cannot be
// deleted, with the system's error code. `onFailure` may be empty.
void DeleteDirectoriesEx(const std::wstring& path, const DeletionFailure& onFailure);

// Deletes the file at `path` (read-only included) the same way: a link
// there is removed as a link, never what it points to. `onFailure(path,
// code)` as above.
void DeleteOneFile(const std::wstring& path, const DeletionFailure& onFailure);
