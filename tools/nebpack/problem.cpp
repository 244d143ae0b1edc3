#include "tools/nebpack/problem.h"

namespace nebpack {

std::wstring ProblemText(const Problem& problem) {
  std::wstring where = problem.file;
  if (problem.line > 0) where += L":" + std::to_wstring(problem.line);
  if (problem.line > 0 && problem.column > 0) where += L":" + std::to_wstring(problem.column);
  return where + L": " + (problem.warning ? L"warning: " : L"") + problem.message;
}

}  // namespace nebpack
