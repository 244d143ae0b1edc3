#include "app/folder_chooser.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "app/install_path_rules.h"
#include "base/debug_line.h"
#include "base/path_exists.h"

std::wstring CheckDir(const std::wstring& picked, const std::wstring& baseName) {
  DebugLine(L"CheckDir %ls, %ls", picked.c_str(), baseName.c_str());
  return AppendBaseFolder(picked, baseName);
}

std::wstring ChooserStartFolder(const std::wstring& current) {
  if (!current.empty() && PathExists(current)) return current;
  const size_t slash = current.find_last_of(L"\\/");
  if (slash != std::wstring::npos) {
    const std::wstring parent = current.substr(0, slash);
    if (!parent.empty() && PathExists(parent)) return parent;
  }
  wchar_t programFiles[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, programFiles, CSIDL_PROGRAM_FILES, FALSE);
  return programFiles;
}

namespace {

template <typename T>
struct ComRelease {
  T* pointer = nullptr;
  ~ComRelease() {
    if (pointer) pointer->Release();
  }
};

}  // namespace

std::optional<std::wstring> PickFolder(HWND owner, const std::wstring& startFolder) {
  ComRelease<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog.pointer)))) {
    return std::nullopt;
  }
  FILEOPENDIALOGOPTIONS options = 0;
  dialog.pointer->GetOptions(&options);
  dialog.pointer->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
  ComRelease<IShellItem> start;
  if (SUCCEEDED(SHCreateItemFromParsingName(startFolder.c_str(), nullptr, IID_PPV_ARGS(&start.pointer)))) {
    dialog.pointer->SetDefaultFolder(start.pointer);
    dialog.pointer->SetFolder(start.pointer);
  }
  if (FAILED(dialog.pointer->Show(owner))) return std::nullopt;
  ComRelease<IShellItem> picked;
  if (FAILED(dialog.pointer->GetResult(&picked.pointer))) return std::nullopt;
  wchar_t* path = nullptr;
  if (FAILED(picked.pointer->GetDisplayName(SIGDN_FILESYSPATH, &path))) return std::nullopt;
  std::wstring result = path;
  CoTaskMemFree(path);
  return result;
}
