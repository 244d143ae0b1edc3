// Text crosses three encodings: UTF-16 inside the program, UTF-8 in scripts,
// and the thread's ANSI code page for the log and a few system calls. Every
// conversion goes through these four functions.
#pragma once

#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
