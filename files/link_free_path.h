// A path checked, from its drive's root down, to run through no junction or
// symbolic link, and held so while a path-based operation (the shell's move,
// MoveFileExW, ...) uses it: every folder on the way stays open without
// delete sharing, so none can be renamed or removed and replaced by a link
// until the hold ends. The last component is checked but not held, so it can
// itself be moved or deleted.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/handles.h"

class LinkFreePath {
 public:
  // Checks `path` (made absolute first) and holds its existing folders. The
  // part of the path that does not exist yet is not checked: nothing can
  // lead through it.
  explicit LinkFreePath(const std::wstring& path);
  LinkFreePath(const LinkFreePath&) = delete;
  LinkFreePath& operator=(const LinkFreePath&) = delete;

  // True when no existing component of the path is a link and each could be
  // shown to be the entry of its folder.
  bool Clear() const { return refused_.empty(); }

  // When not Clear, writes the debug line of the host function `function`
  // that refuses the path: "Fun:<function>, Description:<path> runs through
  // a junction or symbolic link (<component>)!", and answers true.
  bool RefusedFor(const wchar_t* function) const;

  // The existing components checked, from the drive's root to the path
  // itself ("C:\", "C:\Apps", "C:\Apps\file.txt"), as full paths.
  const std::vector<std::wstring>& Components() const { return components_; }

 private:
  void Walk(UniqueHandle folder, std::wstring folderPath, std::wstring walked, std::wstring_view remaining);

  std::wstring path_;
  std::vector<UniqueHandle> folders_;
  std::vector<std::wstring> components_;
  std::wstring refused_;  // the first component that is a link, or cannot be shown not to be one
};
