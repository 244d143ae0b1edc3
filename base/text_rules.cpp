#include "base/text_rules.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

bool EndsWith(std::wstring_view text, std::wstring_view tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void ReplaceAll(std::wstring& text, std::wstring_view what, std::wstring_view with) {
  for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
}

std::wstring LowerCase(std::wstring_view text) {
  std::wstring lower(text);
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  return lower;
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

std::wstring DecimalText(long long value) {
  // Counted in the negative range, which holds the smallest value too.
  const bool negative = value < 0;
  wchar_t digits[24];
  size_t start = sizeof(digits) / sizeof(digits[0]);
  long long rest = negative ? value : -value;
  do {
    digits[--start] = static_cast<wchar_t>(L'0' - rest % 10);
    rest /= 10;
  } while (rest != 0);
  if (negative) digits[--start] = L'-';
  return std::wstring(digits + start, sizeof(digits) / sizeof(digits[0]) - start);
}

std::wstring FixedDecimalText(double value, int decimals) {
  decimals = std::clamp(decimals, 0, 9);
  long long scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const long long scaled = std::llround(std::fabs(value) * static_cast<double>(scale));
  std::wstring text = (value < 0 && scaled != 0 ? L"-" : L"") + DecimalText(scaled / scale);
  if (decimals == 0) return text;
  std::wstring fraction = DecimalText(scaled % scale);
  return text + L"." + std::wstring(static_cast<size_t>(decimals) - fraction.size(), L'0') + fraction;
}
