// What runs when an exception leaves a thread or a destructor uncaught. The
// C++ library's own handler prints the exception's demangled type name to
// the standard error stream, which these windowed programs do not have, and
// brings the name demangler (about 45 KB) into every program. This
// definition takes its place at the link, before anything runs, so that the
// demangler is not linked: it reports to the debugger output instead and
// ends the process as the library's handler does.
#include <cstdlib>
#include <exception>

#include "base/debug_line.h"

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  const std::exception_ptr current = std::current_exception();
  if (!current) {
    DebugLine(L"terminate called without an active exception\r\n");
    std::abort();
  }
  try {
    std::rethrow_exception(current);
  } catch (const std::exception& error) {
    DebugLine(L"terminate called after an uncaught exception: %hs\r\n", error.what());
  } catch (...) {
    DebugLine(L"terminate called after an uncaught exception of a type not derived from std::exception\r\n");
  }
  std::abort();
}

}  // namespace __gnu_cxx
