// In-process engine tests: a script error that reaches the engine's handler
// would show a box and end the process; here it ends the process loudly
// instead, with the report on standard error.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "base/text.h"

[[noreturn]] inline void FailOnReport(const std::wstring& report) {
  std::fprintf(stderr, "unexpected script error report:\n%s\n", WideToUtf8(report).c_str());
  std::fflush(stderr);
  ExitProcess(3);
}
