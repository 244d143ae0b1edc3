#include "extract/extract_tree.h"

#include <cwchar>
#include <utility>

#include "base/debug_line.h"
#include "files/relative_files.h"
#include "base/format_text.h"

namespace {

constexpr ACCESS_MASK kFolderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES;
constexpr ULONG kFolderSharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr ULONG kAnySharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr ACCESS_MASK kFileAccess = GENERIC_WRITE | FILE_READ_ATTRIBUTES;
constexpr size_t kFoldersKeptOpen = 1024;

std::vector<std::wstring_view> SplitPath(std::wstring_view path) {
  std::vector<std::wstring_view> names;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == L'/' || path[i] == L'\\') {
      names.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return names;
}

// Whether `opened`, opened by `name` in the folder whose full path is
// `folderPath`, is that entry itself and not what a link there leads to.
bool IsEntryItself(HANDLE opened, const std::wstring& folderPath, std::wstring_view name, std::wstring* path) {
  return !IsLink(opened) && FinalPath(opened, path) && IsEntryPath(*path, folderPath, name);
}

DWORD Refuse(std::wstring_view name, UniqueHandle* opened) {
  opened->Reset();
  DebugLine(L"Extract7z: refused a junction or symbolic link: %ls\r\n", std::wstring(name).c_str());
  return kReparsePointRefused;
}

// Takes the read-only attribute off an existing file, as CreateFileW's
// callers do before replacing it; true when there was one to take.
bool ClearReadOnly(const std::wstring& folderPath, HANDLE folder, std::wstring_view name) {
  UniqueHandle file;
  std::wstring path;
  const RelativeOpen attributesOnly = {FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kAnySharing, FILE_OPEN,
                                       FILE_NON_DIRECTORY_FILE};
  FILE_BASIC_INFO info = {};
  if (OpenRelative(folder, name, attributesOnly, &file) != ERROR_SUCCESS ||
      !IsEntryItself(file.Get(), folderPath, name, &path) ||
      !GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &info, sizeof info) ||
      !(info.FileAttributes & FILE_ATTRIBUTE_READONLY)) {
    return false;
  }
  const DWORD writable = (info.FileAttributes & ~FILE_ATTRIBUTE_READONLY) | FILE_ATTRIBUTE_NORMAL;
  info = {};
  info.FileAttributes = writable;
  return SetFileInformationByHandle(file.Get(), FileBasicInfo, &info, sizeof info);
}

}  // namespace

ExtractTree::ExtractTree(std::wstring folder) : folder_(std::move(folder)) {}

void ExtractTree::Release() {
  folders_.clear();
  root_.handle.Reset();
}

DWORD ExtractTree::OpenChild(const OpenFolder& parent, std::wstring_view name, OpenFolder* child) {
  bool created = false;
  const RelativeOpen folder = {kFolderAccess, kFolderSharing, FILE_OPEN_IF, FILE_DIRECTORY_FILE};
  const DWORD error = OpenRelative(parent.handle.Get(), name, folder, &child->handle, &created);
  if (error != ERROR_SUCCESS) return error;
  if (created) {
    child->path = parent.path + L"\\";
    child->path.append(name);
    return ERROR_SUCCESS;
  }
  return IsEntryItself(child->handle.Get(), parent.path, name, &child->path) ? ERROR_SUCCESS
                                                                             : Refuse(name, &child->handle);
}

DWORD ExtractTree::OpenFolders(const std::vector<std::wstring_view>& names, size_t count, const OpenFolder** last) {
  if (!root_.handle) {
    folders_.clear();
    root_.handle.Reset(::CreateFileW(folder_.c_str(), kFolderAccess, kFolderSharing, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!root_.handle) {
      const DWORD error = GetLastError();
      return error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error;
    }
    if (!FinalPath(root_.handle.Get(), &root_.path)) {
      const DWORD error = GetLastError();
      root_.handle.Reset();
      return error;
    }
    if (!root_.path.empty() && root_.path.back() == L'\\') root_.path.pop_back();
  }
  // Archives seldom list a folder's files together: the folders stay open
  // for later files, up to a number the system gives handles for easily.
  if (folders_.size() + count > kFoldersKeptOpen) folders_.clear();
  const OpenFolder* parent = &root_;
  std::wstring key;
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) key += L'\\';
    key.append(names[i]);
    auto found = folders_.find(key);
    if (found == folders_.end()) {
      OpenFolder child;
      const DWORD error = OpenChild(*parent, names[i], &child);
      if (error != ERROR_SUCCESS) return error;
      found = folders_.emplace(key, std::move(child)).first;
    }
    parent = &found->second;
  }
  *last = parent;
  return ERROR_SUCCESS;
}

DWORD ExtractTree::MakeFolders(std::wstring_view relative) {
  const std::vector<std::wstring_view> names = SplitPath(relative);
  const OpenFolder* last = nullptr;
  return OpenFolders(names, names.size(), &last);
}

DWORD ExtractTree::FolderOf(const std::vector<std::wstring_view>& names, const OpenFolder** folder) {
  return OpenFolders(names, names.size() - 1, folder);
}

DWORD ExtractTree::PrepareReplace(std::wstring_view relative) {
  const std::vector<std::wstring_view> names = SplitPath(relative);
  const OpenFolder* folder = nullptr;
  const DWORD opened = FolderOf(names, &folder);
  if (opened != ERROR_SUCCESS) return opened;
  // The file is opened as it would be written, and with the right to delete
  // it, which the rename over it needs: a program that holds it (a running
  // program's file, a loaded library) is found before any byte is decoded,
  // with the error a write would meet. The file itself stays as it is.
  const std::wstring_view name = names.back();
  UniqueHandle existing;
  const RelativeOpen replaceable = {kFileAccess | DELETE, FILE_SHARE_READ, FILE_OPEN, FILE_NON_DIRECTORY_FILE};
  DWORD error = OpenRelative(folder->handle.Get(), name, replaceable, &existing);
  if (error == ERROR_ACCESS_DENIED && ClearReadOnly(folder->path, folder->handle.Get(), name)) {
    error = OpenRelative(folder->handle.Get(), name, replaceable, &existing);
  }
  if (error == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (error != ERROR_SUCCESS) return error;
  std::wstring path;
  return IsEntryItself(existing.Get(), folder->path, name, &path) ? ERROR_SUCCESS : Refuse(name, &existing);
}

DWORD ExtractTree::CreateTemporary(std::wstring_view relative, UniqueHandle* file) {
  const std::vector<std::wstring_view> names = SplitPath(relative);
  const OpenFolder* folder = nullptr;
  const DWORD opened = FolderOf(names, &folder);
  if (opened != ERROR_SUCCESS) return opened;
  // Creating a new file never follows a link; a name taken already (left
  // by an install that was cut short) is passed over.
  const RelativeOpen fresh = {kFileAccess | DELETE, FILE_SHARE_READ, FILE_CREATE, FILE_NON_DIRECTORY_FILE};
  for (;;) {
    const std::wstring name = FormatText(L"~neb%lx-%x.tmp", GetCurrentProcessId(), temporaryCount_++);
    const DWORD error = OpenRelative(folder->handle.Get(), name.c_str(), fresh, file);
    if (error != ERROR_FILE_EXISTS) return error;
  }
}

DWORD ExtractTree::Replace(std::wstring_view relative, HANDLE file) {
  const std::vector<std::wstring_view> names = SplitPath(relative);
  const OpenFolder* folder = nullptr;
  const DWORD opened = FolderOf(names, &folder);
  if (opened != ERROR_SUCCESS) return opened;
  // Through the native call: Wine's SetFileInformationByHandle takes the
  // new name as a path of its own, ignoring the folder's handle.
  return RenameRelative(file, folder->handle.Get(), names.back());
}

void ExtractTree::Discard(HANDLE file) {
  FILE_DISPOSITION_INFO disposition = {TRUE};
  if (!SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition)) {
    DebugLine(L"Extract7z: a temporary file could not be deleted (%lu)\r\n", GetLastError());
  }
}
