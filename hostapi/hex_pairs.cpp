#include "hostapi/hex_pairs.h"

#include <cwchar>

std::vector<unsigned char> BytesFromHexPairs(const std::wstring& text) {
  std::vector<unsigned char> bytes;
  bytes.reserve((text.size() + 1) / 2);
  // Kept across positions: a position that does not scan leaves it as it was.
  unsigned int value = 0;
  for (size_t position = 0; position < text.size(); position += 2) {
    std::swscanf(text.c_str() + position, L"%02X", &value);
    bytes.push_back(static_cast<unsigned char>(value));
  }
  return bytes;
}
