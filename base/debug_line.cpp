#include "base/debug_line.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

#include "base/text.h"

namespace {

constexpr int kLineUnits = 1024;
constexpr wchar_t kPrefix[] = L"qd ";

void VDebugLine(const wchar_t* format, va_list args) {
  const DWORD savedError = GetLastError();
  wchar_t buffer[kLineUnits] = {};
  constexpr int prefixUnits = sizeof(kPrefix) / sizeof(kPrefix[0]) - 1;
  wcscpy(buffer, kPrefix);
  // _vsnwprintf neither terminates nor reports the length when it cuts the
  // text, so the last unit is reserved for the terminator.
  _vsnwprintf(buffer + prefixUnits, kLineUnits - prefixUnits - 1, format, args);
  buffer[kLineUnits - 1] = L'\0';
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
