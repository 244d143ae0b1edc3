#include "base/env_path.h"

#include <windows.h>

#include "base/debug_line.h"

namespace {

constexpr DWORD kPathUnits = MAX_PATH;  // terminator included

DWORD Expand(const std::wstring& text, std::wstring& into) {
  return ExpandEnvironmentStringsW(text.c_str(), into.data(), static_cast<DWORD>(into.size()));
}

}  // namespace

std::wstring ExpandEnvPath(const std::wstring& text) {
  std::wstring buffer(kPathUnits, L'\0');
  DWORD needed = Expand(text, buffer);
  if (needed > buffer.size()) {
    DebugLine(L"ExpandEnvPath: %u units after expansion: %ls\r\n", static_cast<unsigned>(needed),
              text.c_str());
    buffer.assign(needed, L'\0');
    needed = Expand(text, buffer);
  }
  if (needed == 0 || needed > buffer.size()) return {};
  buffer.resize(needed - 1);
  return buffer;
}
