// Files and folders reached through a handle to the folder that holds them,
// never through a path that could pass a link swapped in on the way.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/handles.h"

struct FolderEntry {
  std::wstring name;
  DWORD attributes = 0;
  // The file system's number for the file; 0 where it keeps none.
  uint64_t fileId = 0;
};

// What the folder open at `folder` holds, "." and ".." left out.
std::vector<FolderEntry> ListFolder(HANDLE folder);

// Opens `name` inside the folder open at `folder`. A link (a junction, a
// symbolic link) is opened as the link itself where the system allows it.
// `forDeletion` asks for the right to delete and to change attributes.
// Returns an invalid handle and the system's error code on failure.
UniqueHandle OpenInFolder(HANDLE folder, const std::wstring& name, bool forDeletion, DWORD& error);

// Opens a path given whole the same way.
UniqueHandle OpenPath(const std::wstring& path, bool forDeletion, DWORD& error);

// The attributes and the file number of the open file or folder (0 for
// both when they cannot be read).
DWORD AttributesOf(HANDLE file);
uint64_t FileIdOf(HANDLE file);

// Clears the read-only attribute of the open file.
void ClearReadOnly(HANDLE file, DWORD attributes);

// Deletes the open file or (empty) folder once its last handle closes;
// false with the system's error code when it cannot be deleted.
bool MarkForDeletion(HANDLE file, DWORD& error);
