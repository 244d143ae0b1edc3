#include "base/system_library.h"

#include "base/full_path_name.h"

namespace {

// Systems without the search-flag update (Windows Vista, 7 before
// KB2533623) refuse these flags as an invalid parameter.
bool SearchFlagsUnknown() { return GetLastError() == ERROR_INVALID_PARAMETER; }

std::wstring SystemFolderPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(folder, length) + L"\\" + name;
}

bool NamesAFolder(const std::wstring& name) { return name.find_first_of(L"\\/:") != std::wstring::npos; }

// The loader's folder flags want a full path.
std::wstring FullPath(const std::wstring& path) {
  std::wstring full;
  return FullPathName(path, &full) ? full : path;
}

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) {
  HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module || !SearchFlagsUnknown()) return module;
  const std::wstring path = SystemFolderPath(name);
  return path.empty() ? nullptr : LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadLibraryFile(const std::wstring& file) {
  const std::wstring path = FullPath(file);
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr,
                                  LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module || !SearchFlagsUnknown()) return module;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadNamedLibrary(const std::wstring& name) {
  return NamesAFolder(name) ? LoadLibraryFile(name) : LoadSystemLibrary(name.c_str());
}
