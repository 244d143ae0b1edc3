// Which writing system a text needs a face for, beyond the Latin letters
// every face has: the framework draws a text whose face lacks its glyphs in
// a face of that script. No Windows calls here, so it is tested natively.
#pragma once

#include <string_view>

namespace SkinUI {

enum class TextScript { kNone, kHan, kKana, kHangul, kCyrillic, kGreek, kHebrew, kArabic, kThai };

// The script of the text's characters outside Latin. Kana and Hangul win
// over Han, which Japanese and Korean text also hold; otherwise the first
// such character decides. kNone for Latin text, symbols and empty text.
TextScript ScriptOfText(std::wstring_view text);

}  // namespace SkinUI
