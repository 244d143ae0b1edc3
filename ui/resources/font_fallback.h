// Text in a face that has its script. A skin names its faces, and a machine
// may lack one: the system then maps the name to a face of its own choice,
// which need not carry the text's script (Chinese drawn as boxes). A text
// whose font lacks a glyph is drawn instead in the face the system picks
// for the text's script, by the script's character set: the system knows
// which of its faces carry it, on any language edition of Windows and
// under Wine, and the skin names nothing more.
#pragma once

#include <windows.h>

#include <string>

#include "ui/resources/font_entry.h"

namespace SkinUI {

// The entry's font when it has a glyph for every character of `text`
// (control characters aside), else the entry's fallback for the text's
// script, made on first use; the entry's font when the text is of no
// script that needs one. `dc` is the one the text is drawn or measured on.
HFONT FontForText(HDC dc, const FontEntry& entry, const std::wstring& text);

}  // namespace SkinUI
