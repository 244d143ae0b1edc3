#include "base/path_text.h"

namespace {

constexpr wchar_t kSeparators[] = L"\\/";

bool IsDriveRoot(const std::wstring& path, size_t separator) {
  return separator == 2 && path[1] == L':';
}

}  // namespace

std::wstring PathFolder(const std::wstring& path) {
  const size_t separator = path.find_last_of(kSeparators);
  if (separator == std::wstring::npos) return {};
  if (separator == 0 || IsDriveRoot(path, separator)) return path.substr(0, separator + 1);
  return path.substr(0, separator);
}
