// The reader of the framework's markup: a small XML dialect parsed into a
// table of elements. Names and values are compared case-sensitively.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ui/markup/markup_node.h"

namespace SkinUI {

class CMarkup {
 public:
  // Text encodings of ParseBytes and ReadSkinFile.
  enum Encoding { kEncodingUtf8 = 0, kEncodingUtf16 = 1, kEncodingAnsi = 2 };
  // At most this many attributes of one element are recognised.
  static constexpr int kMaxAttributes = 64;

  CMarkup() = default;
  CMarkup(const CMarkup&) = delete;
  CMarkup& operator=(const CMarkup&) = delete;

  bool ParseText(std::wstring_view text);
  // Decodes the bytes (a UTF-8 BOM is skipped; UTF-16 needs its BOM) and parses them.
  bool ParseBytes(const unsigned char* bytes, size_t length, Encoding encoding);
  // Reads a file of the skin source (the archive entry or the plain file) and parses it.
  bool ReadSkinFile(const wchar_t* name, Encoding encoding = kEncodingUtf8);
  // Reads and decodes a file of the skin source as ReadSkinFile does, without
  // parsing it; false with the reader's error text.
  static bool ReadSkinText(const wchar_t* name, Encoding encoding, std::wstring& text, std::wstring& error);
  // Decodes bytes as ParseBytes does.
  static std::wstring DecodeBytes(const unsigned char* bytes, size_t length, Encoding encoding);

  void Release();
  bool IsValid() const { return !elements_.empty(); }
  size_t ElementCount() const { return elements_.size(); }
  // The length of the text last parsed.
  size_t TextLength() const { return textLength_; }
  void SetPreserveWhitespace(bool preserve) { preserveWhitespace_ = preserve; }
  CMarkupNode Root() const;

  const std::wstring& LastError() const { return lastError_; }
  // The rest of the text from the place where parsing failed.
  const std::wstring& ErrorLocation() const { return errorLocation_; }
  void SetError(std::wstring message, std::wstring location = {});

 private:
  friend class CMarkupNode;
  friend class MarkupParser;

  struct Element {
    size_t source = 0;  // where its "<" stands in the parsed text
    size_t name = 0;    // offsets into strings_
    size_t text = 0;
    int parent = -1;
    int next = -1;
    int child = -1;
    size_t firstAttribute = 0;  // index into attributes_
    int attributeCount = 0;
  };
  struct Attribute {
    size_t source = 0;  // where its name stands in the parsed text
    size_t name = 0;
    size_t value = 0;
  };

  const wchar_t* StringAt(size_t offset) const { return strings_.c_str() + offset; }

  // Every decoded name, value and text, each followed by a terminating nul.
  std::wstring strings_;
  std::vector<Element> elements_;
  std::vector<Attribute> attributes_;
  std::wstring lastError_;
  std::wstring errorLocation_;
  bool preserveWhitespace_ = false;
  size_t textLength_ = 0;
};

}  // namespace SkinUI
