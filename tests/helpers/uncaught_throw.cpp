// Ends the way a program does when an exception escapes it: the handler
// of uncaught exceptions every program links (base/terminate_handler.cpp)
// reports to the debugger output and aborts.
// Usage: uncaught_throw runtime_error|int|none
//   runtime_error  throws std::runtime_error("uncaught probe")
//   int            throws the int 7
//   none           calls std::terminate with no exception active
#include <exception>
#include <stdexcept>
#include <string>

int wmain(int argc, wchar_t** argv) {
  const std::wstring kind = argc > 1 ? argv[1] : L"";
  if (kind == L"runtime_error") throw std::runtime_error("uncaught probe");
  if (kind == L"int") throw 7;
  if (kind == L"none") std::terminate();
  return 2;
}
