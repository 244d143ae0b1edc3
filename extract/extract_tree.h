// The folders and files an extraction makes below its target folder. Each
// is opened relative to its parent's handle, and an existing junction or
// symbolic link on the way is refused, so nothing is written outside the
// target folder through a link planted before the extraction or swapped in
// while it runs. The folders opened stay open without delete
// sharing, so they cannot be renamed or removed while files are made in
// them; Release lets them go before the script gets control.
//
// A file is never written in place: its bytes go to a new temporary file in
// the same folder, which replaces the old file only once it is whole and
// checked. Until then the old file stays as it was.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/handles.h"
#include "files/relative_files.h"

class ExtractTree {
 public:
  explicit ExtractTree(std::wstring folder);

  // Opens, creating as needed, the folders of `relative` (separated by "/"
  // or "\"), all of them. The system's error code, ERROR_SUCCESS when all
  // exist.
  DWORD MakeFolders(std::wstring_view relative);

  // Makes the folders before the file `relative` and checks that a file
  // there can be replaced: not a link, not held open by a program that
  // forbids its deletion (ERROR_SHARING_VIOLATION). A read-only file there
  // is made writable. ERROR_SUCCESS also when there is no file yet.
  DWORD PrepareReplace(std::wstring_view relative);

  // Creates a new temporary file in the folder of `relative` for its bytes.
  DWORD CreateTemporary(std::wstring_view relative, UniqueHandle* file);

  // Puts the temporary `file`, written whole, in the place of `relative`,
  // replacing the file there.
  DWORD Replace(std::wstring_view relative, HANDLE file);

  // Deletes the temporary `file` (its content failed, or it is not wanted).
  static void Discard(HANDLE file);

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
  DWORD FolderOf(const std::vector<std::wstring_view>& names, const OpenFolder** folder);

  std::wstring folder_;
  OpenFolder root_;
  std::unordered_map<std::wstring, OpenFolder> folders_;  // by path below the target folder
  unsigned temporaryCount_ = 0;
};
