// Keeps a file open the way a running program does, without delete sharing,
// so that deleting or renaming it fails with a sharing violation until the
// caller lets go. Prints "held" once the file is open, then waits for a line
// (or the end) on standard input, closes the file and exits.
// Usage: hold_file PATH   Exit code 0, or 1 when the file cannot be opened.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  const HANDLE file = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  std::printf("held\n");
  std::fflush(stdout);
  char line[16];
  std::fgets(line, sizeof line, stdin);
  CloseHandle(file);
  return 0;
}
