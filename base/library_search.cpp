#include "base/library_search.h"

#include <windows.h>

namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

}  // namespace

void RestrictLibrarySearch() {
  // Missing on Windows 7 without the search-flag update; the current folder
  // still leaves the search below.
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");
}
