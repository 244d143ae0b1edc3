#include "app/dialog/path_box_text.h"

#include "base/text_rules.h"

std::optional<std::wstring> ExpandPathBoxText(const std::wstring& text, const GlobalTextLookup& valueOf,
                                              const std::wstring& productFolder) {
  const size_t open = text.find(L'$');
  if (open == std::wstring::npos) return std::nullopt;
  const size_t close = text.find(L'$', open + 1);
  if (close == std::wstring::npos) return std::nullopt;
  const std::wstring name = text.substr(open + 1, close - open - 1);
  const std::wstring value = valueOf(name);
  if (value.empty()) return std::nullopt;
  std::wstring expanded = text;
  ReplaceAll(expanded, L"$" + name + L"$", value);
  if (!EndsWith(expanded, productFolder)) expanded += productFolder;
  return expanded;
}
