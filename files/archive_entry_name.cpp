#include "files/archive_entry_name.h"

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

constexpr size_t kLongestComponent = 255;
constexpr size_t kLongestName = 259;  // MAX_PATH without its terminator

bool IsRefusedCharacter(wchar_t c) {
  return c < 32 || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'?' || c == L'*';
}

// Calls `visit(component)` for every component between separators.
template <typename Visit>
bool AllComponents(std::wstring_view name, Visit&& visit) {
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    if (!visit(name.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

EntryNameFault ComponentFault(std::wstring_view component) {
  if (component.size() > kLongestComponent) return EntryNameFault::kComponentTooLong;
  for (const wchar_t c : component) {
    if (IsRefusedCharacter(c)) return EntryNameFault::kRefusedCharacter;
  }
  const bool dotOrSpaceAtEnd = !component.empty() && (component.back() == L'.' || component.back() == L' ');
  return dotOrSpaceAtEnd && component != L"." ? EntryNameFault::kDotOrSpaceAtEnd : EntryNameFault::kNone;
}

}  // namespace

bool IsSafeEntryName(std::wstring_view name) {
  if (name.empty() || IsSeparator(name.front())) return false;
  // A colon anywhere names a drive or an alternate data stream.
  if (name.find(L':') != std::wstring_view::npos) return false;
  return AllComponents(name, [](std::wstring_view component) {
    return component != L".." && !IsDeviceName(component);
  });
}

EntryNameFault FindEntryNameFault(std::wstring_view name) {
  if (!IsSafeEntryName(name)) {
    const bool device = !AllComponents(name, [](std::wstring_view component) { return !IsDeviceName(component); });
    return device ? EntryNameFault::kDevice : EntryNameFault::kOutside;
  }
  if (name.size() > kLongestName) return EntryNameFault::kPathTooLong;
  EntryNameFault fault = EntryNameFault::kNone;
  AllComponents(name, [&fault](std::wstring_view component) {
    fault = ComponentFault(component);
    return fault == EntryNameFault::kNone;
  });
  return fault;
}
