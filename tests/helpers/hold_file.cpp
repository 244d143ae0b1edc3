// Holds a file open without any sharing, so that no other program can open
// it, until a marker file disappears. Usage: hold_file PATH MARKER
// Prints "locked" once the file is held and "released" after closing it.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  std::printf("locked\n");
  std::fflush(stdout);
  while (GetFileAttributesW(argv[2]) != INVALID_FILE_ATTRIBUTES) Sleep(20);
  CloseHandle(file);
  std::printf("released\n");
  std::fflush(stdout);
  return 0;
}
