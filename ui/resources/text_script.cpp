#include "ui/resources/text_script.h"

namespace SkinUI {

namespace {

struct ScriptRange {
  char32_t first;
  char32_t last;
  TextScript script;
};

// Unicode blocks of each script; the CJK punctuation and full-width forms
// count as Han, whose faces carry them.
constexpr ScriptRange kRanges[] = {
    {0x0370, 0x03FF, TextScript::kGreek},      {0x0400, 0x052F, TextScript::kCyrillic},
    {0x0590, 0x05FF, TextScript::kHebrew},     {0x0600, 0x06FF, TextScript::kArabic},
    {0x0E00, 0x0E7F, TextScript::kThai},       {0x1100, 0x11FF, TextScript::kHangul},
    {0x3000, 0x303F, TextScript::kHan},        {0x3040, 0x30FF, TextScript::kKana},
    {0x3130, 0x318F, TextScript::kHangul},     {0x31F0, 0x31FF, TextScript::kKana},
    {0x3400, 0x4DBF, TextScript::kHan},        {0x4E00, 0x9FFF, TextScript::kHan},
    {0xAC00, 0xD7AF, TextScript::kHangul},     {0xF900, 0xFAFF, TextScript::kHan},
    {0xFF00, 0xFFEF, TextScript::kHan},        {0x20000, 0x3FFFF, TextScript::kHan},
};

TextScript ScriptOfCharacter(char32_t c) {
  for (const ScriptRange& range : kRanges) {
    if (c >= range.first && c <= range.last) return range.script;
  }
  return TextScript::kNone;
}

}  // namespace

TextScript ScriptOfText(std::wstring_view text) {
  TextScript first = TextScript::kNone;
  bool han = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    // A surrogate pair is one character.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      const char32_t low = static_cast<char32_t>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    const TextScript script = ScriptOfCharacter(c);
    if (script == TextScript::kKana || script == TextScript::kHangul) return script;
    if (script == TextScript::kHan) han = true;
    if (first == TextScript::kNone) first = script;
  }
  return han ? TextScript::kHan : first;
}

}  // namespace SkinUI
