// Writes to the installer's daily log the way the program's writers do, for
// the log tests. Usage: log_writer BASEPATH TEXT...
// Writes one info line before the log is opened (which must go nowhere),
// opens the log for BASEPATH, then per TEXT an info line with that text,
// then a debug line (below the log's level) and an error line. Prints the
// source line of each write that reaches the file:
//   info TEXT at LINE
//   error at LINE
#include <windows.h>

#include <cstdio>

#include "base/text.h"
#include "log/qm_base_log.h"

namespace {

void WriteLines(int count, wchar_t** texts) {
  for (int i = 0; i < count; ++i) {
    const std::string text = WideToUtf8(texts[i]);
    QMLOG_INFO("info {}", text); std::printf("info %s at %d\n", text.c_str(), __LINE__);
  }
  QMLOG(spdlog::level::debug, "debug {}", "below the level");
  QMLOG_ERROR("error {}-{}", 7, "seven"); std::printf("error at %d\n", __LINE__);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: log_writer BASEPATH TEXT...\n");
    return 2;
  }
  QMLOG_INFO("written before the log was opened");
  CQMBaseLog::Instance().InitLogger(WideToAnsi(argv[1]));
  WriteLines(argc - 2, argv + 2);
  return 0;
}
