// One element of a parsed markup document. A node is a light handle: it
// stays usable while its CMarkup holds the same document.
#pragma once

#include <cstddef>

namespace SkinUI {

class CMarkup;

class CMarkupNode {
 public:
  CMarkupNode() = default;
  CMarkupNode(const CMarkup* owner, int index) : owner_(owner), index_(index) {}

  bool IsValid() const { return owner_ != nullptr && index_ >= 0; }
  CMarkupNode Parent() const;
  CMarkupNode FirstChild() const;
  CMarkupNode NextSibling() const;
  bool HasChildren() const { return FirstChild().IsValid(); }

  // Texts are empty for an invalid node or a missing attribute.
  const wchar_t* Name() const;
  const wchar_t* Text() const;
  int AttributeCount() const;
  const wchar_t* AttributeName(int index) const;
  const wchar_t* AttributeValue(int index) const;
  const wchar_t* AttributeValue(const wchar_t* name) const;
  bool HasAttribute(const wchar_t* name) const;
  // Where the element's "<", and the name of its attribute `index`, stand
  // in the text that was parsed (in UTF-16 units).
  size_t SourceOffset() const;
  size_t AttributeSourceOffset(int index) const;

 private:
  int AttributeIndex(const wchar_t* name) const;

  const CMarkup* owner_ = nullptr;
  int index_ = -1;
};

}  // namespace SkinUI
