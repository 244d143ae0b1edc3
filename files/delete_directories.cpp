#include "files/delete_directories.h"

#include <windows.h>
#include <shlwapi.h>

#include "base/debug_line.h"
#include "base/handles.h"
#include "files/folder_entries.h"
#include "files/relative_files.h"

namespace {

constexpr wchar_t kDeleteLabel[] = L"NEBScriptEngine::DeleteDirectories";
constexpr wchar_t kDeleteExLabel[] = L"NEBScriptEngine::DeleteDirectoriesEx";

std::wstring CurrentFolder() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return {};
  std::wstring folder(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, folder.data());
  if (length == 0 || length >= needed) return {};
  folder.resize(length);
  return folder;
}

// The folder containing `path` ("C:\" for "C:\x"), or `path` unchanged when
// it has no parent.
std::wstring ParentFolder(const std::wstring& path) {
  std::wstring parent = path;
  PathRemoveFileSpecW(parent.data());
  parent.resize(wcslen(parent.c_str()));
  return parent;
}

// Windows refuses to remove a folder that a process holds as its current
// folder, so the process steps out of it first.
void LeaveIfCurrentFolder(const std::wstring& folder) {
  if (CurrentFolder() != folder) return;
  // When this fails the removal below fails too, unreported like any other
  // folder that stays.
  SetCurrentDirectoryW(ParentFolder(folder).c_str());
}

void ReportFailure(const std::wstring& path, DWORD code, const DeletionFailure* onFailure) {
  if (onFailure && *onFailure) (*onFailure)(path, code);
}

// One deletion: its debug label and the optional failure callback.
struct Deletion {
  const wchar_t* label;
  const DeletionFailure* onFailure;
};

// A folder whose entries are removed: its handle, the path the script sees
// (for debug lines and callbacks) and the path by which the system knows it.
struct OpenFolder {
  HANDLE handle;
  const std::wstring& path;
  std::wstring finalPath;
};

void EmptyFolder(const OpenFolder& folder, const Deletion& deletion);

// Whether the entry is a link or leads elsewhere, as far as a look at its
// attributes (which a file in use still allows) can tell.
bool IsLinkEntry(const OpenFolder& folder, const FolderEntry& entry) {
  UniqueHandle handle;
  const RelativeOpen look = {FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             FILE_OPEN, 0};
  std::wstring finalPath;
  if (OpenRelative(folder.handle, entry.name, look, &handle) != ERROR_SUCCESS) return true;
  return IsLink(handle.Get()) || !FinalPath(handle.Get(), &finalPath) ||
         !IsEntryPath(finalPath, folder.finalPath, entry.name);
}

// A folder is opened with the right to delete it when nobody holds it
// without delete sharing; otherwise it is only emptied.
UniqueHandle OpenFolderEntry(HANDLE parent, const FolderEntry& entry, DWORD& error) {
  UniqueHandle handle = OpenInFolder(parent, entry.name, true, error);
  if (!handle && (entry.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    handle = OpenInFolder(parent, entry.name, false, error);
  }
  return handle;
}

// Removes `entry` of `folder`, reached only through the folder's handle;
// `path` is how the script sees it. The entry is acted on only when the
// opened object is the one the listing named, in that folder: a link is
// never followed, and an entry replaced by a link after the listing (to
// send the deletion outside the tree) is left alone. A folder entry is
// announced with a debug line before it is emptied, unless `announced`.
void RemoveEntry(const OpenFolder& folder, const FolderEntry& entry, const std::wstring& path,
                 const Deletion& deletion, bool announced) {
  const bool listedAsFolder = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (listedAsFolder && !(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT)) LeaveIfCurrentFolder(path);

  DWORD error = ERROR_SUCCESS;
  const UniqueHandle handle = OpenFolderEntry(folder.handle, entry, error);
  if (!handle) {
    if (listedAsFolder) return;
    // A link that stays is reported without its path: the script's usual
    // answer, moving the file aside by its path, would follow the link.
    if (IsLinkEntry(folder, entry)) {
      ReportFailure(L"", kReparsePointRefused, deletion.onFailure);
    } else {
      ReportFailure(path, error, deletion.onFailure);
    }
    return;
  }
  const DWORD attributes = AttributesOf(handle.Get());
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    // The link itself is open: only the link goes, never what it points to.
    MarkForDeletion(handle.Get(), error);
    return;
  }
  // The system opened what a link points to (it cannot open links as
  // such), or the entry is no longer the one listed.
  if (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) return;
  if (entry.fileId != 0 && FileIdOf(handle.Get()) != entry.fileId) return;
  std::wstring finalPath;
  if (!FinalPath(handle.Get(), &finalPath) || !IsEntryPath(finalPath, folder.finalPath, entry.name)) return;

  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    if (!announced) DebugLine(L"%ls %ls", deletion.label, path.c_str());
    EmptyFolder({handle.Get(), path, std::move(finalPath)}, deletion);
    // A folder that stays (a file in it could not be deleted) is not reported.
    MarkForDeletion(handle.Get(), error);
    return;
  }
  // Should clearing the attribute fail, the deletion says why.
  if (attributes & FILE_ATTRIBUTE_READONLY) ClearReadOnly(handle.Get(), attributes);
  if (!MarkForDeletion(handle.Get(), error)) ReportFailure(path, error, deletion.onFailure);
}

void EmptyFolder(const OpenFolder& folder, const Deletion& deletion) {
  for (const FolderEntry& entry : ListFolder(folder.handle)) {
    RemoveEntry(folder, entry, folder.path + L"\\" + entry.name, deletion, false);
  }
}

// The path the script named, removed as an entry of the folder that holds
// it. A path without a folder above it (a drive's root) is left alone.
void RemoveNamedPath(const std::wstring& path, const Deletion& deletion) {
  WIN32_FIND_DATAW found = {};
  const UniqueFindHandle search(FindFirstFileW(path.c_str(), &found));
  const std::wstring parentPath = ParentFolder(path);
  if (!search || parentPath.empty() || parentPath == path) return;
  DWORD error = ERROR_SUCCESS;
  const UniqueHandle parent = OpenPath(parentPath, false, error);
  if (!parent) return;
  OpenFolder folder{parent.Get(), parentPath, {}};
  FinalPath(parent.Get(), &folder.finalPath);  // none: no entry can be shown to be itself
  RemoveEntry(folder, {found.cFileName, found.dwFileAttributes, 0}, path, deletion, true);
}

void RemoveTree(const std::wstring& path, const Deletion& deletion) {
  DebugLine(L"%ls %ls", deletion.label, path.c_str());
  RemoveNamedPath(path, deletion);
}

}  // namespace

void DeleteDirectories(const std::wstring& path) { RemoveTree(path, {kDeleteLabel, nullptr}); }

void DeleteDirectoriesEx(const std::wstring& path, const DeletionFailure& onFailure) {
  RemoveTree(path, {kDeleteExLabel, &onFailure});
}

void DeleteOneFile(const std::wstring& path, const DeletionFailure& onFailure) {
  RemoveNamedPath(path, {nullptr, &onFailure});
}
