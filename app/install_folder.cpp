#include "app/install_folder.h"

#include "base/path_text.h"

namespace {

constexpr size_t kPathUnits = 260;  // terminator included

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::optional<std::wstring> WithProductFolder(const std::wstring& folder) {
  if (!EndsWith(folder, kProductFolderName)) return JoinPath(folder, kProductFolderName);
  if (folder.size() >= kPathUnits) return std::nullopt;
  return folder;
}
