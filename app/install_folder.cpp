#include "app/install_folder.h"

namespace {

constexpr size_t kPathUnits = 260;  // terminator included

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::optional<std::wstring> WithProductFolder(const std::wstring& folder) {
  std::wstring result = folder;
  if (!EndsWith(result, kProductFolderName)) {
    if (!result.empty() && result.back() != L'\\') result += L'\\';
    result += kProductFolderName;
  }
  if (result.size() >= kPathUnits) return std::nullopt;
  return result;
}
