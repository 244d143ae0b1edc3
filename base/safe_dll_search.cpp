// Linked into every program: before any other code of the program runs, the
// library search leaves out the program's folder and the current folder.
// (The libraries it imports lazily load from the system folder through
// lazy_import_hook.cpp.)
#include <windows.h>

namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

void RestrictLibrarySearch() {
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  // Missing on systems without the search-flag update; the lazy imports
  // still come from the system folder there.
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");  // the current folder leaves the search order
}

struct LibrarySearchRestriction {
  LibrarySearchRestriction() { RestrictLibrarySearch(); }
};
// Runs before the program's other static initialisers.
__attribute__((init_priority(101))) LibrarySearchRestriction g_restriction;

}  // namespace
