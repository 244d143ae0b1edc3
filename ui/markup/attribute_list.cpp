#include "ui/markup/attribute_list.h"

namespace SkinUI {

namespace {

std::wstring ReplaceQuotEntities(std::wstring_view text) {
  static constexpr std::wstring_view kQuot = L"&quot;";
  std::wstring result;
  result.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t found = text.find(kQuot, pos);
    if (found == std::wstring_view::npos) {
      result.append(text.substr(pos));
      break;
    }
    result.append(text.substr(pos, found - pos));
    result.push_back(L'"');
    pos = found + kQuot.size();
  }
  return result;
}

bool IsQuote(wchar_t c) { return c == L'"' || c == L'\''; }

// A quoted run starting at `pos` (the opening quote); on success `pos` is
// past the closing quote.
bool ReadQuoted(const std::wstring& text, size_t& pos, std::wstring& out) {
  const size_t close = text.find(text[pos], pos + 1);
  if (close == std::wstring::npos) return false;
  out.assign(text, pos + 1, close - pos - 1);
  pos = close + 1;
  return true;
}

}  // namespace

AttributeMap ParseAttributeList(std::wstring_view source) {
  const std::wstring text = ReplaceQuotEntities(source);
  AttributeMap pairs;
  size_t pos = 0;
  while (pos < text.size()) {
    std::wstring key;
    if (IsQuote(text[pos])) {
      if (!ReadQuoted(text, pos, key) || pos >= text.size() || text[pos] != L'=') break;
    } else {
      const size_t equals = text.find(L'=', pos);
      if (equals == std::wstring::npos) break;
      key.assign(text, pos, equals - pos);
      pos = equals;
    }
    ++pos;  // the "="
    std::wstring value;
    if (pos < text.size() && IsQuote(text[pos])) {
      if (!ReadQuoted(text, pos, value)) break;
    } else {
      const size_t space = text.find(L' ', pos);
      const size_t end = space == std::wstring::npos ? text.size() : space;
      value.assign(text, pos, end - pos);
      pos = end;
    }
    pairs[key] = value;
    if (pos < text.size() && text[pos] == L' ') ++pos;
  }
  return pairs;
}

}  // namespace SkinUI
