#include "base/format_text.h"

#include <cstdio>

namespace {

constexpr size_t kTextUnits = 1024;

}  // namespace

void FormatInto(wchar_t* buffer, size_t units, const wchar_t* format, va_list args) {
  if (units == 0) return;
  // _vsnwprintf neither terminates nor reports the length when it cuts the
  // text, so the last unit is kept for the terminator.
  _vsnwprintf(buffer, units - 1, format, args);
  buffer[units - 1] = L'\0';
}

std::wstring FormatText(const wchar_t* format, ...) {
  wchar_t buffer[kTextUnits] = {};
  va_list args;
  va_start(args, format);
  FormatInto(buffer, kTextUnits, format, args);
  va_end(args);
  return buffer;
}
