#include "hostapi/archive_entry_name.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'/' || c == L'\\'; }

}  // namespace

bool IsSafeEntryName(std::wstring_view name) {
  if (name.empty() || IsSeparator(name.front())) return false;
  // A colon anywhere names a drive or an alternate data stream.
  if (name.find(L':') != std::wstring_view::npos) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    if (name.substr(start, end - start) == L"..") return false;
    start = end + 1;
  }
  return true;
}
