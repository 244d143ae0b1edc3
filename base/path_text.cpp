#include "base/path_text.h"

namespace {

constexpr wchar_t kSeparators[] = L"\\/";
constexpr size_t kPathUnits = 260;  // terminator included

bool IsDriveRoot(const std::wstring& path, size_t separator) {
  return separator == 2 && path[1] == L':';
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

std::wstring PathFolder(const std::wstring& path) {
  const size_t separator = path.find_last_of(kSeparators);
  if (separator == std::wstring::npos) return {};
  if (separator == 0 || IsDriveRoot(path, separator)) return path.substr(0, separator + 1);
  return path.substr(0, separator);
}

std::optional<std::wstring> JoinPath(const std::wstring& folder, const std::wstring& component) {
  std::wstring result = folder;
  if (!result.empty() && result.back() != L'\\') result += L'\\';
  result += component;
  if (result.size() >= kPathUnits) return std::nullopt;
  return result;
}

bool IsFullPath(const std::wstring& path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2])) return true;
  return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}
