#include "hostapi/archive_entry_name.h"

#include <cwctype>
#include <string>

namespace {

bool IsSeparator(wchar_t c) { return c == L'/' || c == L'\\'; }

// The reserved names Windows opens as devices in any folder, with any
// extension: what comes before the first dot, without trailing blanks,
// compared without regard to case.
bool IsDeviceName(std::wstring_view component) {
  std::wstring base(component.substr(0, component.find(L'.')));
  while (!base.empty() && base.back() == L' ') base.pop_back();
  for (wchar_t& c : base) c = static_cast<wchar_t>(std::towupper(c));
  if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL" || base == L"CONIN$" ||
      base == L"CONOUT$") {
    return true;
  }
  if (base.size() != 4 || (base.compare(0, 3, L"COM") != 0 && base.compare(0, 3, L"LPT") != 0)) return false;
  const wchar_t digit = base[3];
  // The superscript digits count as well.
  return (digit >= L'1' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
}

}  // namespace

bool IsSafeEntryName(std::wstring_view name) {
  if (name.empty() || IsSeparator(name.front())) return false;
  // A colon anywhere names a drive or an alternate data stream.
  if (name.find(L':') != std::wstring_view::npos) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    const std::wstring_view component = name.substr(start, end - start);
    if (component == L".." || IsDeviceName(component)) return false;
    start = end + 1;
  }
  return true;
}
