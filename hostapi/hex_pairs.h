// The text form in which scripts hand binary registry data over.
#pragma once

#include <string>
#include <vector>

// One byte for each character position 0, 2, 4, ... of the text, read as up
// to two hexadecimal digits in either case: "0A1b" gives 0A 1B, and an odd
// final digit stands alone, so "ABC" gives AB 0C. A position that does not
// start with a hexadecimal number repeats the byte before it (0 at the
// start), as scripts written against the old reader expect.
std::vector<unsigned char> BytesFromHexPairs(const std::wstring& text);
