#include "base/text.h"

#include <windows.h>

#include <climits>

namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (units <= 0) return {};
  std::wstring result(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), length, result.data(), units);
  return result;
}

std::string ToNarrow(UINT codePage, std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string result(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), length, result.data(), bytes, nullptr, nullptr);
  return result;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) { return ToWide(CP_UTF8, text); }
std::string WideToUtf8(std::wstring_view text) { return ToNarrow(CP_UTF8, text); }
std::wstring AnsiToWide(std::string_view text) { return ToWide(CP_THREAD_ACP, text); }
std::string WideToAnsi(std::wstring_view text) { return ToNarrow(CP_THREAD_ACP, text); }
