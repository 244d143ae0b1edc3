#include "base/full_path_name.h"

#include <windows.h>

bool FullPathName(const std::wstring& path, std::wstring* full) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return false;
  full->assign(needed, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), needed, full->data(), nullptr);
  if (length == 0 || length >= needed) {
    full->clear();
    return false;
  }
  full->resize(length);
  return true;
}
