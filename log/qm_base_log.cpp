#include "log/qm_base_log.h"

#include <windows.h>

#include <spdlog/sinks/daily_file_sink.h>

#include "log/log_names.h"
#include "log/old_logs.h"

namespace {

constexpr char kLinePattern[] = "[%Y-%m-%d %H:%M:%S.%e] [%^%l%$] [%t] %v";
constexpr int kRotationHour = 23;
constexpr int kRotationMinute = 59;
constexpr bool kTruncate = false;
constexpr char kUnknownFailure[] = "Unknown exception in InitLogger";

}  // namespace

CQMBaseLog& CQMBaseLog::Instance() {
  static CQMBaseLog log;
  return log;
}

void CQMBaseLog::InitLogger(const std::string& basePath) {
  const LogBasePath parts = SplitLogBasePath(basePath);
  RemoveOldLogs(parts.folder, parts.name, LocalToday());
  try {
    auto sink = std::make_shared<spdlog::sinks::daily_file_sink_mt>(basePath, kRotationHour,
                                                                    kRotationMinute, kTruncate);
    auto logger = std::make_shared<spdlog::logger>(parts.name, std::move(sink));
    spdlog::register_logger(logger);
    logger->set_level(spdlog::level::info);
    logger->set_pattern(kLinePattern, spdlog::pattern_time_type::local);
    logger->flush_on(spdlog::level::info);
    logger_ = std::move(logger);
  } catch (const spdlog::spdlog_ex& failure) {
    OutputDebugStringA(failure.what());
  } catch (...) {
    OutputDebugStringA(kUnknownFailure);
  }
}
