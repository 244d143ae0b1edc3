// What a skin maker needs to hear about a markup file before its window
// opens: the markup error with its line and column, and every picture that
// an image attribute names but the skin does not have or cannot decode,
// with the line of the attribute.
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

// Checks the markup file of the skin source (and the pictures it names);
// nothing when it is sound.
std::vector<SkinProblem> CheckSkinMarkup(const std::wstring& markupFile);

}  // namespace nebskin
