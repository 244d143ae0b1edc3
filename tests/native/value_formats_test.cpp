// The value formats of markup attributes: integers, number lists, colours
// (with their 32-bit wrap) and booleans.
#include <gtest/gtest.h>

#include "ui/markup/value_formats.h"

namespace SkinUI {
namespace {

TEST(ValueFormatsTest, IntegersReadDigitsUpToTheFirstOtherCharacter) {
  struct Case {
    const wchar_t* text;
    int value;
  };
  const Case cases[] = {
      {L"42", 42},   {L"-17", -17}, {L"12px", 12},  {L"", 0},          {L"abc", 0},
      {L"-", 0},     {L" 5", 0},    {L"+5", 0},     {L"007", 7},        {L"1.9", 1},
      {L"--3", 0},   {L"4294967297", 1},  // beyond 32 bits the value wraps
  };
  for (const Case& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
}

TEST(ValueFormatsTest, NumberListsTakeAnySeparatorAndFillMissingNumbersWithZero) {
  struct Case {
    const wchar_t* text;
    UiRect rect;
  };
  const Case cases[] = {
      {L"1,2,3,4", {1, 2, 3, 4}},
      {L"-100,10,-20,30", {-100, 10, -20, 30}},
      {L"1 2;3x4", {1, 2, 3, 4}},
      {L"5,6", {5, 6, 0, 0}},
      {L"", {0, 0, 0, 0}},
      {L",,7", {7, 0, 0, 0}},
      {L"1,-,2", {1, 2, 0, 0}},
      {L"1,2,3,4,5", {1, 2, 3, 4}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseRect(c.text), c.rect) << c.text;
  EXPECT_EQ(ParseSize(L"640,500"), (UiSize{640, 500}));
}

TEST(ValueFormatsTest, RealListsReadFractionsAndSigns) {
  float numbers[4];
  ParseRealList(L"0.5,0,1,-0.25", numbers, 4);
  EXPECT_FLOAT_EQ(numbers[0], 0.5f);
  EXPECT_FLOAT_EQ(numbers[1], 0.0f);
  EXPECT_FLOAT_EQ(numbers[2], 1.0f);
  EXPECT_FLOAT_EQ(numbers[3], -0.25f);
  ParseRealList(L"x.5", numbers, 2);
  EXPECT_FLOAT_EQ(numbers[0], 0.5f);
  EXPECT_FLOAT_EQ(numbers[1], 0.0f);
  ParseRealList(L"1e999,2", numbers, 2);  // not finite: read as 0
  EXPECT_FLOAT_EQ(numbers[0], 0.0f);
  EXPECT_FLOAT_EQ(numbers[1], 2.0f);
}

TEST(ValueFormatsTest, ColoursAccumulateHexDigitsInThirtyTwoBits) {
  struct Case {
    const wchar_t* text;
    uint32_t colour;
  };
  const Case cases[] = {
      {L"#FF333333", 0xFF333333u},
      {L"FF333333", 0xFF333333u},
      {L"#FFFFFFFF", 0xFFFFFFFFu},
      {L"0xffffffff", 0xFFFFFFFFu},  // "0x" is two more digits that the wrap drops
      {L"#1FF2F6BFF", 0xFF2F6BFFu},  // only the last eight digits count
      {L"#80ff0000", 0x80FF0000u},
      {L"#333333", 0x00333333u},     // no alpha given: fully transparent
      {L"", 0u},
      {L"#", 0u},
      {L"#12-34", 0x12u},
      {L"zz", 35u * 16 + 35},  // letters beyond F are worth 16..35
  };
  for (const Case& c : cases) EXPECT_EQ(ParseColour(c.text), c.colour) << c.text;
}

TEST(ValueFormatsTest, BooleansKnowTheirWordsAndTakeOtherTextAsTrue) {
  struct Case {
    const wchar_t* text;
    bool value;
  };
  const Case cases[] = {
      {L"true", true},   {L"on", true},    {L"yes", true},    {L"ok", true},  {L"1", true},
      {L"false", false}, {L"off", false},  {L"no", false},    {L"cancel", false}, {L"0", false},
      {L"", false},      {L"TRUE", true},  {L"FALSE", true},  {L"maybe", true},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseBool(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace SkinUI
