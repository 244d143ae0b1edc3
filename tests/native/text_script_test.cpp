// The script a text needs a face for: what picks the fallback face when the
// skin's face lacks the text's glyphs.
#include "ui/resources/text_script.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using SkinUI::ScriptOfText;
using SkinUI::TextScript;

TEST(TextScript, OfTexts) {
  const struct {
    const char* name;
    std::u16string text;
    TextScript script;
  } cases[] = {
      {"empty", u"", TextScript::kNone},
      {"Latin, digits, symbols", u"Install 2.0 - C:\\Program Files (x86) \u00e9\u2122", TextScript::kNone},
      {"Chinese", u"\u5b89\u88c5\u8def\u5f84", TextScript::kHan},
      {"Chinese after Latin", u"Lumetrica\u5b89\u88c5", TextScript::kHan},
      {"full-width punctuation alone", u"\uff01\u3002", TextScript::kHan},
      {"Japanese: kana wins over Han", u"\u5b89\u88c5\u3059\u308b", TextScript::kKana},
      {"Korean: Hangul wins over Han", u"\u5b89\ud55c\uad6d\uc5b4", TextScript::kHangul},
      {"Cyrillic", u"\u0423\u0441\u0442\u0430\u043d\u043e\u0432\u043a\u0430", TextScript::kCyrillic},
      {"Greek", u"\u0395\u03bb\u03bb", TextScript::kGreek},
      {"Hebrew", u"\u05e9\u05dc\u05d5\u05dd", TextScript::kHebrew},
      {"Arabic", u"\u0645\u0631\u062d\u0628\u0627", TextScript::kArabic},
      {"Thai", u"\u0e44\u0e17\u0e22", TextScript::kThai},
      {"Cyrillic first, then Greek", u"\u0416\u03a9", TextScript::kCyrillic},
      {"Han beyond the basic plane", u"\U00020000", TextScript::kHan},
      {"a lone surrogate", u"a\xd840", TextScript::kNone},
  };
  for (const auto& c : cases) {
    const std::wstring text(c.text.begin(), c.text.end());
    EXPECT_EQ(ScriptOfText(text), c.script) << c.name;
  }
}

}  // namespace
