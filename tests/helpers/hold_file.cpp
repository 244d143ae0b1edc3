// Keeps a file open the way a running program does, so that deleting or
// renaming it fails with a sharing violation until the caller lets go.
// Usage: hold_file [--exclusive] PATH
// By default the file is shared for reading and writing but not deleting;
// with --exclusive it is not shared at all, so it cannot even be opened for
// writing. The file is created when missing. Prints "held" once the file is
// open, then waits for a line (or the end) on standard input, closes the
// file and exits. Exit code 0, or 1 when the file cannot be opened.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  const bool exclusive = argc == 3 && std::wcscmp(argv[1], L"--exclusive") == 0;
  if (argc != (exclusive ? 3 : 2)) return 2;
  const DWORD sharing = exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
  const HANDLE file = CreateFileW(argv[argc - 1], GENERIC_READ | GENERIC_WRITE, sharing, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  std::printf("held\n");
  std::fflush(stdout);
  char line[16];
  std::fgets(line, sizeof line, stdin);
  CloseHandle(file);
  return 0;
}
