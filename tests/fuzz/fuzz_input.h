// Turns a fuzzer's bytes into wide text: the first byte chooses whether each
// following byte is one character or each pair of bytes is one UTF-16 unit,
// so the parsers also see characters beyond Latin-1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline std::wstring FuzzText(const uint8_t* data, size_t size) {
  std::wstring text;
  if (size == 0) return text;
  const bool pairs = (data[0] & 1) != 0;
  ++data;
  --size;
  if (pairs) {
    for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
  } else {
    for (size_t i = 0; i < size; ++i) text.push_back(static_cast<wchar_t>(data[i]));
  }
  return text;
}
