#include "ui/markup/value_formats.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace SkinUI {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads an optional "-" and digits at `pos`; returns false when no digit follows.
bool ReadInteger(std::wstring_view text, size_t& pos, int& value) {
  size_t at = pos;
  const bool negative = at < text.size() && text[at] == L'-';
  if (negative) ++at;
  if (at >= text.size() || !IsDigit(text[at])) return false;
  uint32_t magnitude = 0;
  while (at < text.size() && IsDigit(text[at])) magnitude = magnitude * 10u + static_cast<uint32_t>(text[at++] - L'0');
  value = static_cast<int>(negative ? 0u - magnitude : magnitude);
  pos = at;
  return true;
}

int DigitValue(wchar_t c) {
  if (IsDigit(c)) return c - L'0';
  if (c >= L'A' && c <= L'Z') return c - L'A' + 10;
  if (c >= L'a' && c <= L'z') return c - L'a' + 10;
  return -1;
}

bool StartsReal(std::wstring_view text, size_t pos) {
  const wchar_t c = text[pos];
  if (IsDigit(c)) return true;
  if (c != L'-' && c != L'+' && c != L'.') return false;
  const size_t next = pos + 1;
  if (next >= text.size()) return false;
  return IsDigit(text[next]) || (c != L'.' && text[next] == L'.' && next + 1 < text.size() && IsDigit(text[next + 1]));
}

}  // namespace

int ParseInteger(std::wstring_view text) {
  size_t pos = 0;
  int value = 0;
  return ReadInteger(text, pos, value) ? value : 0;
}

void ParseIntegerList(std::wstring_view text, int* numbers, int count) {
  size_t pos = 0;
  for (int i = 0; i < count; ++i) {
    numbers[i] = 0;
    while (pos < text.size() && !ReadInteger(text, pos, numbers[i])) ++pos;
  }
}

UiRect ParseRect(std::wstring_view text) {
  int n[4];
  ParseIntegerList(text, n, 4);
  return {n[0], n[1], n[2], n[3]};
}

UiSize ParseSize(std::wstring_view text) {
  int n[2];
  ParseIntegerList(text, n, 2);
  return {n[0], n[1]};
}

void ParseRealList(std::wstring_view text, float* numbers, int count) {
  size_t pos = 0;
  for (int i = 0; i < count; ++i) {
    numbers[i] = 0.0f;
    while (pos < text.size() && !StartsReal(text, pos)) ++pos;
    if (pos >= text.size()) continue;
    // wcstod needs a terminated text; a real is short, so copy its run only.
    size_t end = pos + 1;
    while (end < text.size() && (IsDigit(text[end]) || text[end] == L'.' || text[end] == L'e' || text[end] == L'E' ||
                                 ((text[end] == L'-' || text[end] == L'+') && (text[end - 1] == L'e' || text[end - 1] == L'E'))))
      ++end;
    const std::wstring run(text.substr(pos, end - pos));
    wchar_t* stop = nullptr;
    const double value = std::wcstod(run.c_str(), &stop);
    const size_t used = static_cast<size_t>(stop - run.c_str());
    numbers[i] = std::isfinite(value) ? static_cast<float>(value) : 0.0f;
    pos += used > 0 ? used : 1;
  }
}

uint32_t ParseColour(std::wstring_view text) {
  size_t pos = !text.empty() && text[0] == L'#' ? 1 : 0;
  uint32_t value = 0;
  for (; pos < text.size(); ++pos) {
    const int digit = DigitValue(text[pos]);
    if (digit < 0) break;
    value = value * 16u + static_cast<uint32_t>(digit);
  }
  return value;
}

bool ParseBool(std::wstring_view text) {
  if (text.empty()) return false;
  for (const wchar_t* no : {L"false", L"off", L"no", L"cancel", L"0"}) {
    if (text == no) return false;
  }
  return true;
}

}  // namespace SkinUI
