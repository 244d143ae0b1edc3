// The one escaping rule for the URLs the HTTP client fetches. Free of any
// system call, so it is tested on its own.
#pragma once

#include <string>
#include <string_view>

// The UTF-8 URL with every byte from 0x80 to 0xFF written as "%" and two
// upper-case hexadecimal digits (0xE4 becomes "%E4"). Every other byte is
// kept: blanks, "#", "%" and the reserved characters stay as they are, so an
// address that is already escaped passes unchanged.
std::string EscapeUrlBytes(std::string_view utf8);
