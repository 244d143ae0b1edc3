// What a skin maker needs to hear about a markup file before its window
// opens: the markup error with its line and column, every picture that an
// image attribute names but the skin does not have or cannot decode, and
// every font id used but not defined, with the line of the attribute.
#pragma once

#include <string>
#include <vector>

namespace nebskin {

struct SkinProblem {
  std::wstring file;
  int line = 0;    // 1-based; 0 when unknown
  int column = 0;  // 1-based; 0 when unknown
  std::wstring message;
};

// The line and column of `offset` (in UTF-16 units) in `text`.
void LineAndColumn(const std::wstring& text, size_t offset, int& line, int& column);

// Checks the markup file of the skin source, the pictures it names and the
// font ids it uses (defined in it or in the files it includes); nothing
// when it is sound.
std::vector<SkinProblem> CheckSkinMarkup(const std::wstring& markupFile);

// A markup element with a name attribute: its kind is the element's name.
struct MarkupControl {
  std::wstring kind;
  std::wstring name;
  int line = 0;
  int column = 0;
};

// The named elements of the markup file in document order; false when it
// does not parse.
bool NamedControls(const std::wstring& markupFile, std::vector<MarkupControl>& controls);

}  // namespace nebskin
