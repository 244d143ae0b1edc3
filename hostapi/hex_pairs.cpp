#include "hostapi/hex_pairs.h"

#include <cwctype>

namespace {

// The value of a hexadecimal digit, or -1 for any other character.
int HexDigitValue(wchar_t unit) {
  if (unit >= L'0' && unit <= L'9') return unit - L'0';
  if (unit >= L'a' && unit <= L'f') return unit - L'a' + 10;
  if (unit >= L'A' && unit <= L'F') return unit - L'A' + 10;
  return -1;
}

// What a scanf "%02X" reads from `at` on: white space skipped, then a field
// of at most two characters, an optional sign and hexadecimal digits. False,
// and `value` untouched, when the field holds no number ("0x" alone is only
// the start of a prefixed number, so it holds none either).
bool ScanHexField(const std::wstring& text, size_t at, unsigned& value) {
  while (at < text.size() && std::iswspace(text[at])) ++at;
  size_t width = 2;
  bool negative = false;
  if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) {
    negative = text[at] == L'-';
    ++at;
    --width;
  }
  if (width == 2 && at + 1 < text.size() && text[at] == L'0' && (text[at + 1] == L'x' || text[at + 1] == L'X')) {
    return false;
  }
  unsigned number = 0;
  size_t digits = 0;
  for (; digits < width && at + digits < text.size(); ++digits) {
    const int digit = HexDigitValue(text[at + digits]);
    if (digit < 0) break;
    number = number * 16 + static_cast<unsigned>(digit);
  }
  if (digits == 0) return false;
  value = negative ? 0u - number : number;
  return true;
}

}  // namespace

// Read by hand rather than with the C library's scanf, whose formatted
// reader brings about 14 KB of conversions into the installer for two
// digits; the rule is the same.
std::vector<unsigned char> BytesFromHexPairs(const std::wstring& text) {
  std::vector<unsigned char> bytes;
  bytes.reserve((text.size() + 1) / 2);
  // Kept across positions: a position that holds no number leaves it as it was.
  unsigned value = 0;
  for (size_t position = 0; position < text.size(); position += 2) {
    ScanHexField(text, position, value);
    bytes.push_back(static_cast<unsigned char>(value));
  }
  return bytes;
}
