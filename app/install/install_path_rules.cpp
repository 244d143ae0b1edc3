#include "app/install/install_path_rules.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "base/text_rules.h"

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

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring WithoutClosingSeparators(std::wstring folder) {
  while (!folder.empty() && IsSeparator(folder.back())) folder.pop_back();
  return folder;
}

std::wstring Folded(const std::wstring& folder) {
  std::wstring folded = LowerCase(WithoutClosingSeparators(folder));
  std::replace(folded.begin(), folded.end(), L'/', L'\\');
  return folded;
}

bool IsBareRoot(const std::wstring& folder) { return folder.size() == 2 && StartsWithDriveLetter(folder); }

}  // namespace

std::wstring InstallFolderOf(const std::wstring& typed, const std::wstring& baseName) {
  const std::wstring folder = WithoutClosingSeparators(typed);
  if (IsBareRoot(folder)) return folder + L"\\" + baseName;
  return folder;
}

bool IsRootedOnDrive(const std::wstring& folder) {
  return StartsWithDriveLetter(folder) && folder.size() > 2 && IsSeparator(folder[2]);
}

FolderRefusal RefusalOf(const std::wstring& fullFolder, const std::vector<std::wstring>& wellKnown,
                        const std::vector<std::wstring>& systemFolders) {
  const std::wstring folder = Folded(fullFolder);
  if (IsBareRoot(folder)) return FolderRefusal::kWellKnown;
  for (const std::wstring& known : wellKnown) {
    if (!known.empty() && Folded(known) == folder) return FolderRefusal::kWellKnown;
  }
  for (const std::wstring& system : systemFolders) {
    const std::wstring inside = Folded(system);
    if (inside.empty()) continue;
    if (folder == inside || (folder.size() > inside.size() && folder.compare(0, inside.size(), inside) == 0 &&
                             folder[inside.size()] == L'\\')) {
      return FolderRefusal::kInsideSystem;
    }
  }
  return FolderRefusal::kNone;
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
  return L"磁盘剩余可用空间不足,安装程序需要" + FixedDecimalText(megabytes, 2) + L"MB的空间来完成安装！";
}
