#include "app/startup/install_folder.h"

#include "base/path_text.h"
#include "base/text_rules.h"

namespace {

constexpr size_t kPathUnits = 260;  // terminator included

}  // namespace

std::optional<std::wstring> WithProductFolder(const std::wstring& folder) {
  if (!EndsWith(folder, kProductFolderName)) return JoinPath(folder, kProductFolderName);
  if (folder.size() >= kPathUnits) return std::nullopt;
  return folder;
}
