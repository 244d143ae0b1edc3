// One thing wrong with nebpack's input, with its place when it has one.
#pragma once

#include <string>
#include <vector>

namespace nebpack {

struct Problem {
  std::wstring file;
  int line = 0;    // 1-based; 0 when the problem has no line
  int column = 0;  // 1-based; 0 when unknown
  std::wstring message;
  bool warning = false;  // told, but it does not stop the installer being written
};

using Problems = std::vector<Problem>;

// "FILE:LINE:COLUMN: message" ("...: warning: message"), leaving out what
// is unknown.
std::wstring ProblemText(const Problem& problem);

}  // namespace nebpack
