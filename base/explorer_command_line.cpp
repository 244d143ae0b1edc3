#include "base/explorer_command_line.h"

namespace {

constexpr wchar_t kExplorer[] = L"explorer.exe";

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

}  // namespace

std::wstring ExplorerCommandLine(const std::wstring& file, const std::wstring& parameters) {
  return kExplorer + (L" " + Quoted(file)) + L" " + Quoted(parameters);
}
