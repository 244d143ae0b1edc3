#include "log/log_location.h"

std::string LocationPrefix(std::string_view file, std::string_view function, int line) {
  // Sources built here are named with forward slashes, those built with the
  // Windows tools with backslashes.
  const size_t separator = file.find_last_of("\\/");
  if (separator != std::string_view::npos) file.remove_prefix(separator + 1);
  std::string prefix = "[";
  prefix.append(file).append(" ").append(function).append(": ");
  prefix.append(std::to_string(line)).append("] ");
  return prefix;
}

std::string LocatedFormat(std::string_view prefix, std::string_view format) {
  std::string result;
  result.reserve(prefix.size() + format.size());
  for (const char c : prefix) {
    if (c == '{' || c == '}') result += c;
    result += c;
  }
  result.append(format);
  return result;
}
