// Prints the type the system reports for a drive root (GetDriveTypeW), as
// its number: 2 removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk.
// Usage: drive_type D:
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring root = std::wstring(argv[1]) + L"\\";
  std::printf("%u\n", GetDriveTypeW(root.c_str()));
  return 0;
}
