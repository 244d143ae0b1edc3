#include "log/log_names.h"

#include <cstdio>

namespace {

constexpr char kDatedNameFormat[] = "%s_%d-%02d-%02d.log";
constexpr char kCurrentFolder[] = ".";
constexpr char kParentFolder[] = "..";

}  // namespace

LogBasePath SplitLogBasePath(const std::string& basePath) {
  const size_t separator = basePath.find_last_of("\\/");
  const size_t fileStart = separator == std::string::npos ? 0 : separator + 1;
  std::string fileName = basePath.substr(fileStart);
  const size_t dot = fileName.rfind('.');
  if (dot != std::string::npos && dot > 0) fileName.resize(dot);
  std::string folder = separator == std::string::npos ? kCurrentFolder : basePath.substr(0, separator);
  return {std::move(folder), std::move(fileName)};
}

std::string DatedLogName(const std::string& name, const CalendarDate& date) {
  const int length = std::snprintf(nullptr, 0, kDatedNameFormat, name.c_str(), date.year, date.month, date.day);
  std::string result(static_cast<size_t>(length) + 1, '\0');
  std::snprintf(result.data(), result.size(), kDatedNameFormat, name.c_str(), date.year, date.month, date.day);
  result.resize(static_cast<size_t>(length));
  return result;
}

bool IsOldLogName(const std::string& entry, const std::string& name, const CalendarDate& today) {
  if (entry == kCurrentFolder || entry == kParentFolder) return false;
  if (entry == DatedLogName(name, today) || entry == DatedLogName(name, PreviousDay(today))) return false;
  return entry.substr(0, entry.find('_')) == name;
}
