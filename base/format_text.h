// printf-style formatting of UTF-16 text through the system's C runtime
// (msvcrt's _vsnwprintf), which every program already imports: the C++
// library's swprintf would link a formatter of its own into each program.
#pragma once

#include <cstdarg>
#include <string>

// At most `units` - 1 units of the formatted text, always terminated; the
// text is cut where it does not fit.
void FormatInto(wchar_t* buffer, size_t units, const wchar_t* format, va_list args);

// The formatted text, cut at 1,023 units.
std::wstring FormatText(const wchar_t* format, ...);
