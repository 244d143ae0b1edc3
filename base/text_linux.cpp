// base/text.h for the tools built for Linux, where wchar_t holds a whole
// code point and the byte encoding of the system is UTF-8. A byte sequence
// that is no UTF-8 becomes U+FFFD, as the Windows conversion gives.
#include <cstdint>

#include "base/text.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point at `at`, moving past it.
char32_t NextCodePoint(std::string_view text, size_t& at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t first = byte(at++);
  if (first < 0x80) return first;
  const int extra = first >= 0xF0 && first < 0xF5 ? 3 : first >= 0xE0 ? 2 : first >= 0xC2 && first < 0xE0 ? 1 : -1;
  if (extra < 0) return kReplacement;
  char32_t value = first & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    if (at >= text.size() || (byte(at) & 0xC0) != 0x80) return kReplacement;
    value = (value << 6) | (byte(at++) & 0x3F);
  }
  const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
  if (value < smallest[extra] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kReplacement;
  return value;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) {
  std::wstring wide;
  for (size_t at = 0; at < text.size();) wide.push_back(static_cast<wchar_t>(NextCodePoint(text, at)));
  return wide;
}

std::string WideToUtf8(std::wstring_view text) {
  std::string bytes;
  for (wchar_t unit : text) {
    char32_t c = static_cast<char32_t>(unit);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
    if (c < 0x80) {
      bytes.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      bytes.push_back(static_cast<char>(0xC0 | (c >> 6)));
      bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      bytes.push_back(static_cast<char>(0xE0 | (c >> 12)));
      bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      bytes.push_back(static_cast<char>(0xF0 | (c >> 18)));
      bytes.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return bytes;
}

std::wstring AnsiToWide(std::string_view text) { return Utf8ToWide(text); }
std::string WideToAnsi(std::wstring_view text) { return WideToUtf8(text); }
