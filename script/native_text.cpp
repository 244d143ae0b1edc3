#include "script/native_text.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "base/text.h"

namespace {

// Addresses below this are resource identifiers (MAKEINTRESOURCE), never
// memory a program can own.
constexpr std::uintptr_t kFirstAddress = 0x10000;

std::string ProgramStringResource(UINT id) {
  const wchar_t* text = nullptr;
  // A zero buffer size asks for a read-only pointer into the resource itself.
  const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return std::string();
  return WideToUtf8({text, static_cast<std::size_t>(length)});
}

}  // namespace

std::string AnsiTextAt(const char* text, std::size_t limit) {
  if (!text) return std::string();
  const auto address = reinterpret_cast<std::uintptr_t>(text);
  if (address < kFirstAddress) return ProgramStringResource(static_cast<UINT>(address));
  return WideToUtf8(AnsiToWide({text, strnlen(text, limit)}));
}

std::string WideTextAt(const wchar_t* text, std::size_t limit) {
  if (!text) return std::string();
  return WideToUtf8({text, wcsnlen(text, limit)});
}
