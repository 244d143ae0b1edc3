// The text form in which scripts hand binary registry data over.
#pragma once

#include <string>
#include <vector>

// One byte for each character position 0, 2, 4, ... of the text, read as a
// scanf "%02X" reads it there: white space skipped, then up to two
// characters, an optional sign and hexadecimal digits in either case. "0A1b"
// gives 0A 1B; an odd final digit stands alone, so "ABC" gives AB 0C; "-1"
// gives FF. A position that holds no number repeats the byte before it (0 at
// the start), as scripts written against the old reader expect.
std::vector<unsigned char> BytesFromHexPairs(const std::wstring& text);
