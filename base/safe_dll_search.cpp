// Linked into every program: before any other code of the program runs, the
// library search leaves out the program's folder and the current folder, and
// libraries the program imports lazily (every library Windows does not
// always take from the system folder) load from the system folder only.
#include <windows.h>
#include <delayimp.h>

#include <string>

#include "base/system_library.h"

namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

void RestrictLibrarySearch() {
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  // Missing on systems without the search-flag update; the lazy imports
  // below still come from the system folder there.
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

FARPROC WINAPI LoadLazyImport(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary) return nullptr;
  const std::string name = info->szDll;
  return reinterpret_cast<FARPROC>(LoadSystemLibrary(std::wstring(name.begin(), name.end()).c_str()));
}

}  // namespace

// The lazy-import helper asks this hook before it loads a library itself.
PfnDliHook __pfnDliNotifyHook2 = LoadLazyImport;  // declared extern "C" by delayimp.h
