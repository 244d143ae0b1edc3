#include "app/install_checks.h"

#include <windows.h>
#include <shlobj.h>

#include <cwchar>
#include <cwctype>

bool IsLegalInstallPath(const std::wstring& folder) {
  if (folder.size() < 2 || !std::iswalpha(folder[0]) || folder[1] != L':') return false;
  const int result = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

uint64_t FreeBytesOnDrive(const std::wstring& folder) {
  const std::wstring drive = folder.substr(0, 2) + L"\\";
  ULARGE_INTEGER available{}, total{}, free{};
  if (!GetDiskFreeSpaceExW(drive.c_str(), &available, &total, &free)) return 0;
  return free.QuadPart;
}

uint64_t ReadNeededBytes(const std::wstring& text) {
  uint64_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') break;
    value = value * 10 + static_cast<uint64_t>(c - L'0');
  }
  return value;
}

std::wstring DiskSpaceMessage(uint64_t neededBytes) {
  const float megabytes = static_cast<float>(neededBytes) / 1048576.0f;
  wchar_t text[256] = {};
  std::swprintf(text, 256, L"磁盘剩余可用空间不足,安装程序需要%0.2fMB的空间来完成安装！", megabytes);
  return text;
}
