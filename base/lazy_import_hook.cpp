// Linked into every program and into the product's libraries: the libraries
// the module imports lazily (every library Windows does not always take
// from the system folder) load from the system folder only, whatever
// search order the process that loaded the module has.
#include <windows.h>
#include <delayimp.h>

#include <string>

#include "base/system_library.h"

namespace {

FARPROC WINAPI LoadLazyImport(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary) return nullptr;
  const std::string name = info->szDll;
  return reinterpret_cast<FARPROC>(LoadSystemLibrary(std::wstring(name.begin(), name.end()).c_str()));
}

}  // namespace

// The lazy-import helper asks this hook before it loads a library itself.
PfnDliHook __pfnDliNotifyHook2 = LoadLazyImport;  // declared extern "C" by delayimp.h
