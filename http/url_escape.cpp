#include "http/url_escape.h"

std::string EscapeUrlBytes(std::string_view utf8) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string escaped;
  escaped.reserve(utf8.size());
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    // 0x80 is a continuation byte of many characters (the last byte of
    // U+4E00 "一"): it needs escaping as much as the bytes above it.
    if (byte < 0x80) {
      escaped += c;
      continue;
    }
    escaped += '%';
    escaped += kHexDigits[byte >> 4];
    escaped += kHexDigits[byte & 0x0F];
  }
  return escaped;
}
