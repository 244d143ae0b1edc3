#include "base/module_path.h"

#include <windows.h>

std::wstring ProgramPath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, length < MAX_PATH ? length : 0);
}

std::wstring ProgramFileName() {
  const std::wstring path = ProgramPath();
  const size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(slash + 1);
}
