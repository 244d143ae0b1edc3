// Opening files and folders by a name relative to an open folder, through
// the native API, asking not to follow a junction or symbolic link in that
// name. A name relative to a handle cannot be redirected by anything that
// happens to the folders above it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/handles.h"

// The error code with which a path that runs through a junction or symbolic
// link is refused. A script callback told of such a path gets an empty path
// with it: any path-based answer (a move, a deletion) would follow the link.
constexpr DWORD kReparsePointRefused = ERROR_CANT_ACCESS_FILE;

// What to open and how: NtCreateFile's access, sharing, disposition
// (FILE_OPEN, FILE_CREATE, ...) and options (FILE_DIRECTORY_FILE, ...);
// synchronous access and FILE_OPEN_REPARSE_POINT are always added.
struct RelativeOpen {
  ACCESS_MASK access;
  ULONG sharing;
  ULONG disposition;
  ULONG options;
};

// The system's error code for the outcome (ERROR_SUCCESS when opened).
// `created` tells whether the open made a new file or folder.
DWORD OpenRelative(HANDLE folder, std::wstring_view name, const RelativeOpen& how, UniqueHandle* opened,
                   bool* created = nullptr);

// Renames the open `file` (opened with the right to delete it) to `name` in
// the open `folder`, replacing a file of that name. The name is taken
// relative to the folder's handle, so nothing swapped in above the folder
// can redirect it. The system's error code (ERROR_SUCCESS when renamed).
DWORD RenameRelative(HANDLE file, HANDLE folder, std::wstring_view name);

// Whether the open file or folder is itself a link: a reparse point that
// stands for another name (a junction, a symbolic link, a mount point), what
// an open of a link gives on Windows. Reparse points that are the file
// itself (a cloud-synced placeholder, a deduplicated file) are no links.
bool IsLink(HANDLE opened);

// The full path of an open file or folder as the system resolved it, every
// link followed ("\\?\C:\dir\file"): Wine follows a link on open even when
// asked not to, and this tells where the handle really leads. False, with
// `path` empty, when the system cannot say.
bool FinalPath(HANDLE opened, std::wstring* path);

// Whether the final path `path` names the entry `name` of the folder whose
// final path is `folderPath`, letter case aside: whether what was opened by
// that name is the entry itself and not what a link there leads to.
bool IsEntryPath(std::wstring_view path, std::wstring_view folderPath, std::wstring_view name);
