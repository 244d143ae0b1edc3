#include "hostapi/delete_directories.h"

#include <windows.h>
#include <shlwapi.h>

#include "base/debug_line.h"
#include "base/handles.h"

namespace {

constexpr wchar_t kDeleteLabel[] = L"NEBScriptEngine::DeleteDirectories";
constexpr wchar_t kDeleteExLabel[] = L"NEBScriptEngine::DeleteDirectoriesEx";
constexpr wchar_t kAllEntries[] = L"\\*.*";
// A search pattern must fit a path buffer with its terminator.
constexpr size_t kPatternUnits = MAX_PATH;

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

void DeleteFileEntry(const std::wstring& path, DWORD attributes, ScriptCallback* onFailure) {
  // Should clearing the attribute fail, DeleteFileW says why.
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (DeleteFileW(path.c_str())) return;
  const DWORD code = GetLastError();
  if (onFailure && onFailure->Valid()) onFailure->Call(path, code);
}

void RemoveTree(const std::wstring& path, const wchar_t* label, ScriptCallback* onFailure) {
  DebugLine(L"%ls %ls", label, path.c_str());
  const bool isFolder = PathIsDirectoryW(path.c_str());
  const std::wstring pattern = isFolder ? path + kAllEntries : path;
  const std::wstring folder = isFolder ? path : ParentFolder(path);

  WIN32_FIND_DATAW entry = {};
  UniqueFindHandle search;
  if (pattern.size() < kPatternUnits) search.Reset(FindFirstFileW(pattern.c_str(), &entry));
  for (bool found = search.Valid(); found; found = FindNextFileW(search.Get(), &entry)) {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring entryPath = folder + L"\\" + name;
    const DWORD attributes = entry.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      DeleteFileEntry(entryPath, attributes, onFailure);
    } else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      // A junction or folder link may lead anywhere, into the user's own
      // files: only the link goes, never what it points to.
      RemoveDirectoryW(entryPath.c_str());
    } else {
      RemoveTree(entryPath, label, onFailure);
    }
  }

  if (!isFolder) return;
  LeaveIfCurrentFolder(path);
  // A folder that stays (a file in it could not be deleted) is not reported.
  RemoveDirectoryW(path.c_str());
}

}  // namespace

void DeleteDirectories(const std::wstring& path) { RemoveTree(path, kDeleteLabel, nullptr); }

void DeleteDirectoriesEx(const std::wstring& path, ScriptCallback* onFailure) {
  RemoveTree(path, kDeleteExLabel, onFailure);
}
