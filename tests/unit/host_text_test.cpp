// Text forms the host functions build or take apart without the system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostapi/hex_pairs.h"

namespace {

using Bytes = std::vector<unsigned char>;

TEST(BytesFromHexPairs, ReadsPairsFromEvenPositions) {
  const struct {
    const wchar_t* text;
    Bytes bytes;
  } cases[] = {
      {L"", {}},
      {L"0A1b", {0x0A, 0x1B}},
      {L"ABC", {0xAB, 0x0C}},
      {L"ff00", {0xFF, 0x00}},
      {L"7", {0x07}},
      // A position without a hexadecimal number repeats the byte before it.
      {L"zz01", {0x00, 0x01}},
      {L"12zz", {0x12, 0x12}},
      {L"1g2h", {0x01, 0x02}},
  };
  for (const auto& c : cases) EXPECT_EQ(BytesFromHexPairs(c.text), c.bytes) << "text \"" << c.text << "\"";
}

}  // namespace
