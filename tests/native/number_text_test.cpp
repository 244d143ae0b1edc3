// Numbers written as text without the C library's formatted printing: the
// results must be what "%lld" and "%.Nf" give.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "base/text_rules.h"

namespace {

TEST(NumberTextTest, WholeNumbers) {
  const std::pair<long long, const wchar_t*> cases[] = {
      {0, L"0"}, {7, L"7"}, {-7, L"-7"}, {1342395, L"1342395"}, {100, L"100"},
      {LLONG_MAX, L"9223372036854775807"}, {LLONG_MIN, L"-9223372036854775808"},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(DecimalText(value), expected) << value;
}

TEST(NumberTextTest, FixedDecimals) {
  struct Case {
    double value;
    int decimals;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {12.5, 2, L"12.50"}, {0.0, 2, L"0.00"}, {0.004, 2, L"0.00"}, {0.006, 2, L"0.01"}, {1023.999, 2, L"1024.00"},
      {75.0, 0, L"75"}, {99.6, 0, L"100"}, {-1.26, 1, L"-1.3"}, {-0.001, 2, L"0.00"}, {3.14159, 4, L"3.1416"},
  };
  for (const Case& c : cases) EXPECT_EQ(FixedDecimalText(c.value, c.decimals), c.expected) << c.value;
}

}  // namespace
