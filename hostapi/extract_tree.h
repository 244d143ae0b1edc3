// The folders and files an extraction makes below its target folder. Each
// is opened relative to its parent's handle, and an existing junction or
// symbolic link on the way is refused, so nothing is written outside the
// target folder through a link planted before the extraction or swapped in
// while it runs. The folders opened stay open without delete
// sharing, so they cannot be renamed or removed while files are made in
// them; Release lets them go before the script gets control.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/handles.h"

// The error reported for a name that is a reparse point.
constexpr DWORD kReparsePointRefused = ERROR_CANT_ACCESS_FILE;

class ExtractTree {
 public:
  explicit ExtractTree(std::wstring folder);

  // Opens, creating as needed, the folders of `relative` (separated by "/"
  // or "\"), all of them. The system's error code, ERROR_SUCCESS when all
  // exist.
  DWORD MakeFolders(std::wstring_view relative);

  // Creates, or empties, the file `relative` for writing, with the folders
  // before it; a read-only file there is made writable first.
  DWORD CreateFile(std::wstring_view relative, UniqueHandle* file);

  // Removes the file `relative` that CreateFile made (its content failed).
  void RemoveFile(std::wstring_view relative);

  // Closes every handle held, so a script callback may change the disk;
  // the next call opens the target folder again.
  void Release();

 private:
  // An open folder and the full path it resolved to.
  struct OpenFolder {
    UniqueHandle handle;
    std::wstring path;
  };

  DWORD OpenFolders(const std::vector<std::wstring_view>& names, size_t count, const OpenFolder** last);
  DWORD OpenChild(const OpenFolder& parent, std::wstring_view name, OpenFolder* child);
  DWORD ReplaceExisting(const OpenFolder& folder, std::wstring_view name, UniqueHandle* file);

  std::wstring folder_;
  OpenFolder root_;
  std::unordered_map<std::wstring, OpenFolder> folders_;  // by path below the target folder
};
