#include "app/startup/cmdline_switches.h"

#include <climits>
#include <cwctype>

namespace {

constexpr wchar_t kPieceSeparator = L'/';
constexpr wchar_t kNameEnd = L' ';

// Blanks and control codes 0..29 are trimmed from values; 30 and 31 stay.
bool IsTrimmed(wchar_t c) { return c == L' ' || c <= 29; }

std::wstring_view Trim(std::wstring_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsTrimmed(text[begin])) ++begin;
  while (end > begin && IsTrimmed(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::wstring_view Unquote(std::wstring_view value) {
  if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Skips white space and reads an optional sign; returns the position of the
// first digit candidate.
size_t SkipToDigits(std::wstring_view text, bool& negative) {
  size_t i = 0;
  while (i < text.size() && std::iswspace(text[i])) ++i;
  negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }
  return i;
}

// Digits from position i on, saturated at a value past every 32-bit result.
unsigned long long ReadMagnitude(std::wstring_view text, size_t i) {
  constexpr unsigned long long kSaturated = 1ull << 40;
  unsigned long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    if (value < kSaturated) value = value * 10 + static_cast<unsigned>(text[i] - L'0');
  }
  return value;
}

}  // namespace

bool CCmdLineSwitches::Parse(std::wstring_view commandLine) {
  bool found = false;
  size_t pos = 0;
  while (pos < commandLine.size()) {
    if (commandLine[pos] == kPieceSeparator) {
      ++pos;
      continue;
    }
    size_t end = commandLine.find(kPieceSeparator, pos);
    if (end == std::wstring_view::npos) end = commandLine.size();
    const std::wstring_view piece = commandLine.substr(pos, end - pos);
    pos = end;
    found = true;

    const size_t space = piece.find(kNameEnd);
    std::wstring name(piece.substr(0, space));
    std::wstring_view value;
    if (space != std::wstring_view::npos) value = Unquote(Trim(piece.substr(space)));
    switches_[std::move(name)] = std::wstring(value);
  }
  return found;
}

bool CCmdLineSwitches::GetSwitch(const std::wstring& name, std::wstring& value) const {
  const auto it = switches_.find(name);
  if (it == switches_.end()) {
    value.clear();
    return false;
  }
  value = it->second;
  return true;
}

bool CCmdLineSwitches::Has(const std::wstring& name) const {
  return switches_.count(name) != 0;
}

// Out-of-range input saturates as the C library's readers do: the largest
// unsigned value, or the signed limit on the side of the sign.
unsigned long ReadUnsignedDecimal(std::wstring_view text) {
  bool negative = false;
  const unsigned long long magnitude = ReadMagnitude(text, SkipToDigits(text, negative));
  if (magnitude > ULONG_MAX) return ULONG_MAX;
  const unsigned long value = static_cast<unsigned long>(magnitude);
  return negative ? 0ul - value : value;
}

long ReadSignedDecimal(std::wstring_view text) {
  bool negative = false;
  const unsigned long long magnitude = ReadMagnitude(text, SkipToDigits(text, negative));
  if (negative) {
    return magnitude > static_cast<unsigned long long>(LONG_MAX) + 1
               ? LONG_MIN
               : static_cast<long>(0ll - static_cast<long long>(magnitude));
  }
  return magnitude > static_cast<unsigned long long>(LONG_MAX) ? LONG_MAX : static_cast<long>(magnitude);
}
