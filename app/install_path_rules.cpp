#include "app/install_path_rules.h"

#include <cwchar>

std::wstring AppendBaseFolder(const std::wstring& picked, const std::wstring& baseName) {
  const size_t slash = picked.find_last_of(L"\\/");
  const std::wstring last = slash == std::wstring::npos ? picked : picked.substr(slash + 1);
  if (last == baseName) return picked;
  std::wstring result = picked;
  if (result.empty() || (result.back() != L'\\' && result.back() != L'/')) result += L'\\';
  return result + baseName;
}

bool StartsWithDriveLetter(const std::wstring& folder) {
  if (folder.size() < 2 || folder[1] != L':') return false;
  const wchar_t letter = folder[0];
  return (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
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
  // Single precision, as the figure has always been computed.
  const float megabytes = static_cast<float>(neededBytes) / 1048576.0f;
  wchar_t text[256] = {};
  std::swprintf(text, 256, L"磁盘剩余可用空间不足,安装程序需要%0.2fMB的空间来完成安装！", megabytes);
  return text;
}
