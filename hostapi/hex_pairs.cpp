#include "hostapi/hex_pairs.h"

namespace {

// The value of a hexadecimal digit, or -1 for any other character.
int HexDigitValue(wchar_t unit) {
  if (unit >= L'0' && unit <= L'9') return unit - L'0';
  if (unit >= L'a' && unit <= L'f') return unit - L'a' + 10;
  if (unit >= L'A' && unit <= L'F') return unit - L'A' + 10;
  return -1;
}

}  // namespace

// Read by hand rather than with a scanf "%02X": the formatted reader
// brings about 14 KB of conversions into the installer for two digits.
std::vector<unsigned char> BytesFromHexPairs(const std::wstring& text) {
  std::vector<unsigned char> bytes;
  bytes.reserve((text.size() + 1) / 2);
  // Kept across positions: a position that does not start with a digit
  // leaves it as it was.
  unsigned char value = 0;
  for (size_t position = 0; position < text.size(); position += 2) {
    const int high = HexDigitValue(text[position]);
    if (high >= 0) {
      const int low = position + 1 < text.size() ? HexDigitValue(text[position + 1]) : -1;
      value = static_cast<unsigned char>(low >= 0 ? high * 16 + low : high);
    }
    bytes.push_back(value);
  }
  return bytes;
}
