// A program for the tests to start: records how it was started, optionally
// sleeps, and only then writes its record, so the record's presence shows
// that it ran to its end. The record goes beside the program, named after
// it with ".txt" added (probe.exe -> probe.exe.txt), because a program
// started through explorer.exe may not receive its parameters.
// Usage: exec_probe [--sleep MS] [ARGS...]
// Record lines (UTF-8): "show=N" (the show command it was given, or
// "show=none"), "folder=PATH" (its working folder), "args=A|B|...".
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "base/text.h"

namespace {

constexpr DWORD kPathUnits = 32768;

std::wstring ModulePath() {
  std::wstring path(kPathUnits, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), kPathUnits));
  return path;
}

std::wstring CurrentFolder() {
  std::wstring folder(kPathUnits, L'\0');
  folder.resize(GetCurrentDirectoryW(kPathUnits, folder.data()));
  return folder;
}

std::wstring ShowCommand() {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  if (!(startup.dwFlags & STARTF_USESHOWWINDOW)) return L"none";
  return std::to_wstring(startup.wShowWindow);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int first = 1;
  if (argc >= 3 && std::wcscmp(argv[1], L"--sleep") == 0) {
    Sleep(static_cast<DWORD>(_wtoi(argv[2])));
    first = 3;
  }
  std::wstring args;
  for (int i = first; i < argc; ++i) args += (i > first ? L"|" : L"") + std::wstring(argv[i]);
  const std::string record = WideToUtf8(L"show=" + ShowCommand() + L"\nfolder=" + CurrentFolder() +
                                    L"\nargs=" + args + L"\n");

  // Written aside and renamed, so a reader never sees half a record.
  const std::wstring target = ModulePath() + L".txt";
  const std::wstring partial = target + L".partial";
  FILE* file = _wfopen(partial.c_str(), L"wb");
  if (!file) return 1;
  const bool written = std::fwrite(record.data(), 1, record.size(), file) == record.size();
  if (std::fclose(file) != 0 || !written) return 1;
  return MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
