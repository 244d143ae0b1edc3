#include "app/dialog/folder_chooser.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "app/install/install_path_rules.h"
#include "base/com_ptr.h"
#include "base/debug_line.h"
#include "base/path_exists.h"
#include "base/system_folders.h"

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
  return SpecialFolder(CSIDL_PROGRAM_FILES);
}

std::optional<std::wstring> PickFolder(HWND owner, const std::wstring& startFolder) {
  ComPtr<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                              dialog.Out()))) {
    return std::nullopt;
  }
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
  ComPtr<IShellItem> start;
  if (SUCCEEDED(SHCreateItemFromParsingName(startFolder.c_str(), nullptr, IID_IShellItem, start.Out()))) {
    dialog->SetDefaultFolder(start.Get());
    dialog->SetFolder(start.Get());
  }
  if (FAILED(dialog->Show(owner))) return std::nullopt;
  ComPtr<IShellItem> picked;
  if (FAILED(dialog->GetResult(reinterpret_cast<IShellItem**>(picked.Out())))) return std::nullopt;
  wchar_t* path = nullptr;
  if (FAILED(picked->GetDisplayName(SIGDN_FILESYSPATH, &path))) return std::nullopt;
  std::wstring result = path;
  CoTaskMemFree(path);
  return result;
}
