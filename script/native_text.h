// Text that native code hands to scripts by address, read into UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads at most `limit` units, stopping at the first zero, so a block of
// known size is never read past its end.
constexpr std::size_t kNoTextLimit = SIZE_MAX;

// A NUL-terminated string in the thread's ANSI code page. A null address
// gives the empty string; an address below 65536 is not read but names a
// string resource of the program, whose text it gives (empty when missing).
std::string AnsiTextAt(const char* text, std::size_t limit = kNoTextLimit);

// A NUL-terminated UTF-16 string; a null address gives the empty string.
std::string WideTextAt(const wchar_t* text, std::size_t limit = kNoTextLimit);
