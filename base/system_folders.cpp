#include "base/system_folders.h"

#include <windows.h>
#include <shlobj.h>

std::wstring TemporaryFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return {};
  return std::wstring(temp, length);
}

std::wstring SpecialFolder(int csidl) {
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, folder, csidl, FALSE)) return {};
  return folder;
}
