#include "files/link_free_path.h"

#include <shlwapi.h>

#include <string_view>

#include "base/debug_line.h"
#include "base/full_path_name.h"
#include "files/relative_files.h"

namespace {

constexpr ACCESS_MASK kFolderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES;
// Held folders allow reading and writing in them, not renaming or removing
// them.
constexpr ULONG kHoldSharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr ULONG kAnySharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

std::wstring_view FolderOf(std::wstring_view path) {
  const size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring_view::npos ? std::wstring_view() : path.substr(0, slash);
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

// Whether `opened`, opened by `name` in the folder whose final path is
// `folderPath`, is that entry and not what a link leads to. Windows opens a
// link as itself (a reparse point); Wine follows it, which shows as a final
// path elsewhere (or under another name). A short (8.3) name, which holds a
// "~", leads to the entry under its long name.
bool IsOwnEntry(HANDLE opened, const std::wstring& folderPath, std::wstring_view name, std::wstring* finalPath) {
  if (IsLink(opened) || !FinalPath(opened, finalPath)) return false;
  if (IsEntryPath(*finalPath, folderPath, name)) return true;
  std::wstring_view folder = folderPath;
  if (!folder.empty() && folder.back() == L'\\') folder.remove_suffix(1);
  return name.find(L'~') != std::wstring_view::npos && SameText(FolderOf(*finalPath), folder);
}

}  // namespace

LinkFreePath::LinkFreePath(const std::wstring& path) : path_(path) {
  if (path.empty()) return;  // names nothing
  std::wstring full;
  const wchar_t* const rest = FullPathName(path, &full) ? PathSkipRootW(full.c_str()) : nullptr;
  if (!rest) {
    refused_ = path;
    return;
  }
  const std::wstring root(full.c_str(), static_cast<size_t>(rest - full.c_str()));
  UniqueHandle folder(CreateFileW(root.c_str(), kFolderAccess, kAnySharing, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder) {
    if (!IsMissing(GetLastError())) refused_ = root;
    return;
  }
  std::wstring folderPath;
  if (!FinalPath(folder.Get(), &folderPath)) {
    refused_ = root;
    return;
  }
  components_.push_back(root);
  Walk(std::move(folder), std::move(folderPath), root, rest);
}

void LinkFreePath::Walk(UniqueHandle folder, std::wstring folderPath, std::wstring walked,
                        std::wstring_view remaining) {
  while (!remaining.empty()) {
    const size_t slash = remaining.find(L'\\');
    const std::wstring_view name = remaining.substr(0, slash);
    remaining = slash == std::wstring_view::npos ? std::wstring_view() : remaining.substr(slash + 1);
    if (name.empty()) continue;
    if (walked.back() != L'\\') walked += L'\\';
    walked.append(name);
    const bool last = remaining.empty();
    // The last component is only looked at; a folder on the way is held.
    const RelativeOpen how = last ? RelativeOpen{FILE_READ_ATTRIBUTES, kAnySharing, FILE_OPEN, 0}
                                  : RelativeOpen{kFolderAccess, kHoldSharing, FILE_OPEN, FILE_DIRECTORY_FILE};
    UniqueHandle entry;
    DWORD error = OpenRelative(folder.Get(), name, how, &entry);
    if (error == ERROR_SHARING_VIOLATION && !last) {
      // Someone holds the folder with the right to delete it: it can be
      // checked, not held.
      error = OpenRelative(folder.Get(), name, {kFolderAccess, kAnySharing, FILE_OPEN, FILE_DIRECTORY_FILE}, &entry);
    }
    if (IsMissing(error)) break;
    std::wstring entryPath;
    if (error != ERROR_SUCCESS || !IsOwnEntry(entry.Get(), folderPath, name, &entryPath)) {
      refused_ = walked;
      break;
    }
    components_.push_back(walked);
    if (last) break;
    folders_.push_back(std::move(folder));
    folder = std::move(entry);
    folderPath = std::move(entryPath);
  }
  folders_.push_back(std::move(folder));
}

bool LinkFreePath::RefusedFor(const wchar_t* function) const {
  if (Clear()) return false;
  DebugLine(L"Fun:%ls, Description:%ls runs through a junction or symbolic link (%ls)!\r\n", function,
            path_.c_str(), refused_.c_str());
  return true;
}
