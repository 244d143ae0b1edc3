// Reads a shell link (.lnk) through the shell's own link object and prints
// its fields, one per line in UTF-8: "path=", "arguments=", "description=",
// "folder=" (the working folder).
// Usage: link_reader LINK   Exit code 0 when the link was read, 1 otherwise.
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "base/text.h"

namespace {

constexpr int kFieldUnits = 4096;

// Each field is read into a fresh buffer, so an empty field prints empty.
template <typename Read>
void PrintField(const char* name, Read read) {
  wchar_t value[kFieldUnits] = {};
  std::printf("%s=%s\n", name, SUCCEEDED(read(value)) ? WideToUtf8(value).c_str() : "<unreadable>");
}

int ReadLink(const wchar_t* path) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return 1;
  }
  IPersistFile* file = nullptr;
  int status = 1;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(path, STGM_READ))) {
      PrintField("path", [&](wchar_t* value) { return link->GetPath(value, kFieldUnits, nullptr, SLGP_RAWPATH); });
      PrintField("arguments", [&](wchar_t* value) { return link->GetArguments(value, kFieldUnits); });
      PrintField("description", [&](wchar_t* value) { return link->GetDescription(value, kFieldUnits); });
      PrintField("folder", [&](wchar_t* value) { return link->GetWorkingDirectory(value, kFieldUnits); });
      status = 0;
    }
    file->Release();
  }
  link->Release();
  return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  if (FAILED(CoInitialize(nullptr))) return 1;
  const int status = ReadLink(argv[1]);
  CoUninitialize();
  return status;
}
