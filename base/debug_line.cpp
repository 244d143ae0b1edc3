#include "base/debug_line.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

#include "base/format_text.h"
#include "base/text.h"

namespace {

constexpr int kLineUnits = 1024;
constexpr wchar_t kPrefix[] = L"qd ";

void VDebugLine(const wchar_t* format, va_list args) {
  const DWORD savedError = GetLastError();
  wchar_t buffer[kLineUnits] = {};
  constexpr int prefixUnits = sizeof(kPrefix) / sizeof(kPrefix[0]) - 1;
  wcscpy(buffer, kPrefix);
  FormatInto(buffer + prefixUnits, kLineUnits - prefixUnits, format, args);
  OutputDebugStringW(buffer);
  SetLastError(savedError);
}

}  // namespace

void DebugLine(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  VDebugLine(format, args);
  va_end(args);
}

void TraceLastErrorAt(const wchar_t* message, const char* file, int line) {
  DebugLine(L"%lsqd file:%ls\r\n", message, AnsiToWide(file).c_str());
  DebugLine(L"qd line:%d\r\n", line);
  DebugLine(L"qd err:%d\r\n", static_cast<int>(GetLastError()));
}
