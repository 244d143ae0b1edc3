// A COM library for the registration tests. Its registration entries record
// each call as a line ("register" or "unregister") in the file beside it
// named like it with ".calls" appended, and fail (SELFREG_E_CLASS) while a
// file named like it with ".fail" appended exists.
#include <windows.h>
#include <olectl.h>

#include <cstdio>
#include <string>

namespace {

HMODULE self = nullptr;

std::wstring BesideSelf(const wchar_t* suffix) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(self, path, MAX_PATH);
  return std::wstring(path) + suffix;
}

HRESULT Record(const char* call) {
  FILE* calls = _wfopen(BesideSelf(L".calls").c_str(), L"a");
  if (calls) {
    std::fprintf(calls, "%s\n", call);
    std::fclose(calls);
  }
  const bool failing = GetFileAttributesW(BesideSelf(L".fail").c_str()) != INVALID_FILE_ATTRIBUTES;
  return failing ? SELFREG_E_CLASS : S_OK;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() { return Record("register"); }
extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() { return Record("unregister"); }
