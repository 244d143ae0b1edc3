// What a skin maker needs to hear about a markup file before its window
// opens: the markup error with its line and column, every picture that an
// image attribute names but the skin does not have or cannot decode, every
// font id used but not defined, elements nested deeper than the window
// builds, includes that read more than a window may, and (as warnings)
// elements that no control class answers to. The checks read the skin
// through SkinAccess and make no Windows calls, so that they are tested and
// fuzzed natively.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nebskin {

struct SkinProblem {
  std::wstring file;
  int line = 0;    // 1-based; 0 when unknown
  int column = 0;  // 1-based; 0 when unknown
  std::wstring message;
  bool warning = false;  // the window still builds as the skin maker meant, less this
};

// Where the checks read the skin from.
class SkinAccess {
 public:
  virtual ~SkinAccess() = default;
  // The markup file as text; false with the reader's error text.
  virtual bool ReadMarkupText(const std::wstring& name, std::wstring& text, std::wstring& error) = 0;
  // A picture's bytes; false when the skin does not have it.
  virtual bool ReadPictureBytes(const std::wstring& name, std::vector<uint8_t>& bytes) = 0;
  // Whether the element names a control the window can create.
  virtual bool IsControlElement(const std::wstring& element) = 0;
};

// Checks the markup file, the files it includes, the pictures they name and
// the font ids they use; nothing when it is sound.
std::vector<SkinProblem> CheckSkinMarkup(SkinAccess& skin, const std::wstring& markupFile);

// A markup element with a name attribute: its kind is the element's name.
struct MarkupControl {
  std::wstring kind;
  std::wstring name;
  int line = 0;
  int column = 0;
};

// The named elements of the markup file in document order; false when it
// does not parse.
bool NamedControls(SkinAccess& skin, const std::wstring& markupFile, std::vector<MarkupControl>& controls);

}  // namespace nebskin
