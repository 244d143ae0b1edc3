#include "ui/resources/font_fallback.h"

#include <vector>

#include "ui/resources/text_script.h"

namespace SkinUI {

namespace {

// The character set whose fonts carry the script. Han goes to simplified
// Chinese: its faces carry the characters the traditional ones share, and
// the installer's own texts are simplified Chinese.
BYTE CharsetOfScript(TextScript script) {
  switch (script) {
    case TextScript::kHan: return GB2312_CHARSET;
    case TextScript::kKana: return SHIFTJIS_CHARSET;
    case TextScript::kHangul: return HANGUL_CHARSET;
    case TextScript::kCyrillic: return RUSSIAN_CHARSET;
    case TextScript::kGreek: return GREEK_CHARSET;
    case TextScript::kHebrew: return HEBREW_CHARSET;
    case TextScript::kArabic: return ARABIC_CHARSET;
    case TextScript::kThai: return THAI_CHARSET;
    case TextScript::kNone: break;
  }
  return DEFAULT_CHARSET;
}

bool HasAllGlyphs(HDC dc, HFONT font, const std::wstring& text) {
  std::wstring printable;
  for (wchar_t c : text) {
    if (c >= L' ') printable += c;
  }
  if (printable.empty()) return true;
  std::vector<WORD> glyphs(printable.size());
  const HGDIOBJ old = SelectObject(dc, font);
  const DWORD mapped = GetGlyphIndicesW(dc, printable.c_str(), static_cast<int>(printable.size()), glyphs.data(),
                                        GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, old);
  if (mapped == GDI_ERROR) return true;  // nothing better to go on
  for (WORD glyph : glyphs) {
    if (glyph == 0xFFFF) return false;
  }
  return true;
}

// The entry's font, at its scale and style, in the face the system picks
// for the character set (no face named).
HFONT MakeFallback(const FontEntry& entry, BYTE charset) {
  LOGFONTW logical{};
  if (GetObjectW(entry.font, sizeof(logical), &logical) != sizeof(logical)) return nullptr;
  logical.lfCharSet = charset;
  logical.lfFaceName[0] = L'\0';
  return CreateFontIndirectW(&logical);
}

}  // namespace

HFONT FontForText(HDC dc, const FontEntry& entry, const std::wstring& text) {
  const TextScript script = ScriptOfText(text);
  if (script == TextScript::kNone || entry.font == nullptr || dc == nullptr || HasAllGlyphs(dc, entry.font, text)) {
    return entry.font;
  }
  const BYTE charset = CharsetOfScript(script);
  auto found = entry.fallbacks.find(charset);
  if (found == entry.fallbacks.end()) {
    found = entry.fallbacks.emplace(charset, UniqueFont(MakeFallback(entry, charset))).first;
  }
  return found->second ? found->second.Get() : entry.font;
}

}  // namespace SkinUI
