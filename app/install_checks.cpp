#include "app/install_checks.h"

#include <windows.h>
#include <shlobj.h>

#include "app/install_path_rules.h"

bool IsLegalInstallPath(const std::wstring& folder) {
  if (!StartsWithDriveLetter(folder)) return false;
  const int result = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

uint64_t FreeBytesOnDrive(const std::wstring& folder) {
  const std::wstring drive = folder.substr(0, 2) + L"\\";
  ULARGE_INTEGER available{}, total{}, free{};
  if (!GetDiskFreeSpaceExW(drive.c_str(), &available, &total, &free)) return 0;
  return free.QuadPart;
}
