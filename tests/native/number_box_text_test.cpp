// The number of the completion view spread over the number box's controls.
#include <gtest/gtest.h>

#include "app/dialog/number_box_text.h"

namespace {

TEST(NumberBoxTextTest, DigitsFillTheBoxesFromTheRight) {
  struct Case {
    long number;
    size_t boxes;
    std::vector<std::wstring> texts;
  };
  const Case cases[] = {
      {1342395, 1, {L"1342395"}},
      {4242, 7, {L"", L"", L"", L"4", L"2", L"4", L"2"}},
      {1342395, 7, {L"1", L"3", L"4", L"2", L"3", L"9", L"5"}},
      {1342395, 3, {L"13423", L"9", L"5"}},
      {0, 2, {L"", L"0"}},
      {-5, 3, {L"", L"-", L"5"}},
      {7, 0, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberBoxTexts(c.number, c.boxes), c.texts) << c.number << " " << c.boxes;
}

}  // namespace
