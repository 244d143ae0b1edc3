#include "ui/render/tag_text.h"

#include <algorithm>
#include <cwctype>

#include "ui/markup/value_formats.h"

namespace SkinUI {

namespace {

struct TagParser {
  TagText result;
  TagStyle style;
  std::vector<TagStyle> colourStack, fontStack;
  bool pendingBreak = false;

  void AddText(const std::wstring& text) {
    if (text.empty()) return;
    if (!pendingBreak && !result.runs.empty() && result.runs.back().style == style) {
      result.runs.back().text += text;
      return;
    }
    result.runs.push_back({text, style, pendingBreak});
    pendingBreak = false;
  }

  void Break() {
    if (pendingBreak) result.runs.push_back({L"", style, true});
    pendingBreak = true;
  }

  // True when `tag` (the text between the delimiters) is one of ours.
  bool Apply(const std::wstring& tag) {
    const std::wstring name = tag.substr(0, tag.find(L' '));
    const std::wstring argument = tag.size() > name.size() ? tag.substr(name.size() + 1) : L"";
    if (name == L"b" || name == L"/b") style.bold = name[0] != L'/';
    else if (name == L"i" || name == L"/i") style.italic = name[0] != L'/';
    else if (name == L"u" || name == L"/u") style.underline = name[0] != L'/';
    else if (name == L"s" || name == L"/s") style.strikeOut = name[0] != L'/';
    else if (name == L"n" && argument.empty()) Break();
    else if (name == L"c") {
      colourStack.push_back(style);
      style.colour = ParseColour(argument);
    } else if (name == L"/c") {
      if (colourStack.empty()) return false;
      style.colour = colourStack.back().colour;
      colourStack.pop_back();
    } else if (name == L"f") {
      fontStack.push_back(style);
      style.fontId = ParseInteger(argument);
    } else if (name == L"/f") {
      if (fontStack.empty()) return false;
      style.fontId = fontStack.back().fontId;
      fontStack.pop_back();
    } else if (name == L"a") {
      if (style.link >= 0) return false;  // links do not nest
      if (static_cast<int>(result.linkTargets.size()) >= kMaxTagLinks) {
        style.link = kMaxTagLinks;  // marks a link past the limit: plain text
        return true;
      }
      style.link = static_cast<int>(result.linkTargets.size());
      result.linkTargets.push_back(argument);
    } else if (name == L"/a") {
      if (style.link < 0) return false;
      style.link = -1;
    } else {
      return false;
    }
    return true;
  }
};

bool IsBreakableAfter(wchar_t c) { return c == L' ' || c == L'\t' || c >= 0x2E80; }

}  // namespace

TagText ParseTagText(const std::wstring& text) {
  TagParser parser;
  std::wstring pending;
  size_t i = 0;
  while (i < text.size()) {
    const wchar_t c = text[i];
    if (c == L'\n') {
      parser.AddText(pending);
      pending.clear();
      parser.Break();
      ++i;
      continue;
    }
    if (c == L'\r') {
      ++i;
      continue;
    }
    if (c == L'{' || c == L'<') {
      const wchar_t close = c == L'{' ? L'}' : L'>';
      const size_t end = text.find(close, i + 1);
      if (end != std::wstring::npos) {
        TagStyle before = parser.style;
        parser.AddText(pending);
        pending.clear();
        if (parser.Apply(text.substr(i + 1, end - i - 1))) {
          i = end + 1;
          continue;
        }
        parser.style = before;
      }
    }
    pending += c;
    ++i;
  }
  parser.AddText(pending);
  if (parser.pendingBreak) parser.result.runs.push_back({L"", parser.style, true});
  // Links past the limit are plain text.
  for (TagRun& run : parser.result.runs) {
    if (run.style.link >= kMaxTagLinks) run.style.link = -1;
  }
  return parser.result;
}

std::wstring TagPlainText(const TagText& parsed) {
  std::wstring plain;
  for (const TagRun& run : parsed.runs) {
    if (run.lineBreak) plain += L'\n';
    plain += run.text;
  }
  return plain;
}

namespace {

class LineBuilder {
 public:
  LineBuilder(int width, bool wrap, const TagMeasure& measure) : width_(width), wrap_(wrap), measure_(measure) {}

  void NewLine() {
    FinishLine();
    lineStarted_ = true;
  }

  void Add(const std::wstring& text, const TagStyle& style) {
    style_ = style;
    size_t start = 0;
    while (start < text.size()) {
      // The next word: up to and with the next breaking character.
      size_t end = start;
      while (end < text.size() && !IsBreakableAfter(text[end])) ++end;
      if (end < text.size()) ++end;
      Place(text.substr(start, end - start), style);
      start = end;
    }
  }

  TagLayout Finish() {
    FinishLine();
    return std::move(layout_);
  }

 private:
  void Place(std::wstring word, const TagStyle& style) {
    UiSize size = measure_(word, style);
    if (wrap_ && x_ > 0 && x_ + TrimmedWidth(word, style, size) > width_) {
      FinishLine();
      if (word == L" ") return;  // a space that ends a line is not carried over
    }
    // A word wider than the whole line is cut between characters.
    while (wrap_ && x_ == 0 && TrimmedWidth(word, style, size) > width_ && word.size() > 1) {
      size_t fit = 1;
      while (fit < word.size() && measure_(word.substr(0, fit + 1), style).cx <= width_) ++fit;
      Put(word.substr(0, fit), style, measure_(word.substr(0, fit), style));
      FinishLine();
      word = word.substr(fit);
      size = measure_(word, style);
    }
    Put(word, style, size);
  }

  // A word's width without its trailing space, which may hang past the edge.
  int TrimmedWidth(const std::wstring& word, const TagStyle& style, UiSize size) {
    if (word.size() > 1 && word.back() == L' ') return measure_(word.substr(0, word.size() - 1), style).cx;
    return word == L" " ? 0 : size.cx;
  }

  void Put(const std::wstring& text, const TagStyle& style, UiSize size) {
    if (!line_.empty() && line_.back().style == style) {
      line_.back().text += text;
      line_.back().rect.right += size.cx;
    } else {
      line_.push_back({text, style, {x_, 0, x_ + size.cx, size.cy}});
    }
    x_ += size.cx;
    lineHeight_ = std::max(lineHeight_, size.cy);
  }

  void FinishLine() {
    if (line_.empty() && !lineStarted_) return;
    // An empty line is as high as a space of the style in force.
    const int height = line_.empty() ? measure_(L" ", style_).cy : lineHeight_;
    for (TagPiece& piece : line_) {
      piece.rect.top = y_;
      piece.rect.bottom = y_ + height;
      layout_.size.cx = std::max(layout_.size.cx, piece.rect.right);
      layout_.pieces.push_back(std::move(piece));
    }
    y_ += height;
    layout_.size.cy = y_;
    line_.clear();
    x_ = 0;
    lineHeight_ = 0;
    lineStarted_ = false;
  }

  int width_;
  bool wrap_;
  const TagMeasure& measure_;
  TagLayout layout_;
  std::vector<TagPiece> line_;
  int x_ = 0;
  int y_ = 0;
  int lineHeight_ = 0;
  TagStyle style_;
  bool lineStarted_ = true;
};

}  // namespace

TagLayout LayOutTagText(const TagText& parsed, int width, bool wrap, const TagMeasure& measure) {
  LineBuilder lines(width, wrap, measure);
  for (const TagRun& run : parsed.runs) {
    if (run.lineBreak) lines.NewLine();
    lines.Add(run.text, run.style);
  }
  return lines.Finish();
}

}  // namespace SkinUI
