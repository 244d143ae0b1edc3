// Small text rules the program applies in more than one place, on UTF-16
// text as it is, free of the system.
#pragma once

#include <string>
#include <string_view>

bool EndsWith(std::wstring_view text, std::wstring_view tail);

// Replaces every occurrence of `what` (not empty) by `with`, left to right;
// a replacement is not searched again.
void ReplaceAll(std::wstring& text, std::wstring_view what, std::wstring_view with);

// Each unit lower-cased by the C library's rule (towlower).
std::wstring LowerCase(std::wstring_view text);

// Equal when lower-cased unit by unit as LowerCase does.
bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);

// A whole number in decimal digits, with "-" when negative. Numbers are
// written without the C library's formatted printing, which the shipped
// program does not otherwise carry for wide text.
std::wstring DecimalText(long long value);

// The number rounded to `decimals` places (0 to 9), "0.50" for 0.5 with two.
std::wstring FixedDecimalText(double value, int decimals);
