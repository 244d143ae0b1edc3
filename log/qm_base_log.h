// The daily install log: one file per day in the temporary folder, written
// from the main thread, the install worker and the scripts.
#pragma once

#include <spdlog/spdlog.h>

#include <memory>
#include <string>
#include <utility>

#include "log/log_location.h"

class CQMBaseLog {
 public:
  static CQMBaseLog& Instance();
  virtual ~CQMBaseLog() = default;

  // Opens the log for `basePath`, the undated log path in the ANSI code
  // page: removes the logs of days before yesterday beside it and appends
  // to today's dated file. When the file cannot be opened the process runs
  // without a log; the reason goes to the debugger output.
  void InitLogger(const std::string& basePath);

  // Empty until InitLogger has succeeded. Set once on the main thread
  // before any other thread starts.
  std::shared_ptr<spdlog::logger> Logger() const { return logger_; }

  CQMBaseLog(const CQMBaseLog&) = delete;
  CQMBaseLog& operator=(const CQMBaseLog&) = delete;

 private:
  CQMBaseLog() = default;

  std::shared_ptr<spdlog::logger> logger_;
};

// The log's text is UTF-8, so that a log read on another machine (support
// looks at logs from everywhere) shows every script as it was written:
// writers hand in text converted with WideToUtf8, never in the ANSI code
// page, which cannot hold a script other than the machine's own. Only the
// path the log is opened with stays in the ANSI code page (the library
// opens files by narrow name).
//
// Every writer goes through here (use the QMLOG macros): nothing happens
// without a logger; otherwise the line is the location prefix followed by
// the message. The message is formatted inside the library, which handles
// a failure there itself.
template <typename... Args>
void WriteQMLog(spdlog::level::level_enum level, const char* file, const char* function, int line,
                fmt::format_string<Args...> format, Args&&... args) {
  const std::shared_ptr<spdlog::logger> logger = CQMBaseLog::Instance().Logger();
  if (!logger || !logger->should_log(level)) return;
  const fmt::string_view text = format;
  const std::string located =
      LocatedFormat(LocationPrefix(file, function, line), {text.data(), text.size()});
  logger->log(level, fmt::runtime(located), std::forward<Args>(args)...);
}

#define QMLOG(level, ...) WriteQMLog((level), __FILE__, __func__, __LINE__, __VA_ARGS__)
#define QMLOG_INFO(...) QMLOG(spdlog::level::info, __VA_ARGS__)
#define QMLOG_ERROR(...) QMLOG(spdlog::level::err, __VA_ARGS__)
