// Tag text: a label's text with a few tags for bold, italic, underlined and
// coloured parts, links and line breaks, parsed into runs of one style and
// laid out into lines. Tags are written in braces ("{b}bold{/b}") so that
// markup attribute values need no escapes; angle brackets work as well
// ("<b>bold</b>", written "&lt;b&gt;" inside markup). The tags:
//   {b} {/b}      bold               {i} {/i}   italic
//   {u} {/u}      underlined         {s} {/s}   struck out
//   {c #AARRGGBB} {/c}  colour (the value format of every colour)
//   {f N} {/f}    the window's font N
//   {a TARGET} {/a}  a link (TARGET optional); at most 8 links, later
//                 ones are plain text
//   {n}           a line break (so is a line-feed character)
// A tag that is not one of these is shown as text. No window is involved:
// measuring is a callback, so parsing and line breaking are tested as
// tables of cases.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/geometry/ui_rect.h"

namespace SkinUI {

constexpr int kMaxTagLinks = 8;

struct TagStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  uint32_t colour = 0;  // 0: the control's text colour
  int fontId = -1;      // -1: the control's font
  int link = -1;        // the link's index, -1 outside links

  bool operator==(const TagStyle& other) const {
    return bold == other.bold && italic == other.italic && underline == other.underline &&
           strikeOut == other.strikeOut && colour == other.colour && fontId == other.fontId && link == other.link;
  }
};

struct TagRun {
  std::wstring text;
  TagStyle style;
  bool lineBreak = false;  // a break before this run's text
};

struct TagText {
  std::vector<TagRun> runs;
  std::vector<std::wstring> linkTargets;  // by link index
};

TagText ParseTagText(const std::wstring& text);
// The text without its tags (line breaks as "\n").
std::wstring TagPlainText(const TagText& parsed);

// A piece of a run placed on a line, relative to the layout's top-left.
struct TagPiece {
  std::wstring text;
  TagStyle style;
  UiRect rect;
};
struct TagLayout {
  std::vector<TagPiece> pieces;
  UiSize size;  // the widest line and the lines' total height
};
using TagMeasure = std::function<UiSize(const std::wstring& text, const TagStyle& style)>;

// Lines at most `width` wide when `wrap` (breaking after spaces, or between
// any two characters of a word that is wider than the line); one line per
// explicit break otherwise. Every piece of a line has the line's height
// and sits on its top.
TagLayout LayOutTagText(const TagText& parsed, int width, bool wrap, const TagMeasure& measure);

}  // namespace SkinUI
