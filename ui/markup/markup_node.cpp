#include "ui/markup/markup_node.h"

#include <cwchar>

#include "ui/markup/markup.h"

namespace SkinUI {

CMarkupNode CMarkupNode::Parent() const {
  return IsValid() ? CMarkupNode(owner_, owner_->elements_[index_].parent) : CMarkupNode();
}

CMarkupNode CMarkupNode::FirstChild() const {
  return IsValid() ? CMarkupNode(owner_, owner_->elements_[index_].child) : CMarkupNode();
}

CMarkupNode CMarkupNode::NextSibling() const {
  return IsValid() ? CMarkupNode(owner_, owner_->elements_[index_].next) : CMarkupNode();
}

const wchar_t* CMarkupNode::Name() const {
  return IsValid() ? owner_->StringAt(owner_->elements_[index_].name) : L"";
}

const wchar_t* CMarkupNode::Text() const {
  return IsValid() ? owner_->StringAt(owner_->elements_[index_].text) : L"";
}

int CMarkupNode::AttributeCount() const { return IsValid() ? owner_->elements_[index_].attributeCount : 0; }

const wchar_t* CMarkupNode::AttributeName(int index) const {
  if (index < 0 || index >= AttributeCount()) return L"";
  return owner_->StringAt(owner_->attributes_[owner_->elements_[index_].firstAttribute + index].name);
}

const wchar_t* CMarkupNode::AttributeValue(int index) const {
  if (index < 0 || index >= AttributeCount()) return L"";
  return owner_->StringAt(owner_->attributes_[owner_->elements_[index_].firstAttribute + index].value);
}

size_t CMarkupNode::SourceOffset() const { return IsValid() ? owner_->elements_[index_].source : 0; }

size_t CMarkupNode::AttributeSourceOffset(int index) const {
  if (index < 0 || index >= AttributeCount()) return 0;
  return owner_->attributes_[owner_->elements_[index_].firstAttribute + index].source;
}

int CMarkupNode::AttributeIndex(const wchar_t* name) const {
  const int count = AttributeCount();
  for (int i = 0; i < count; ++i) {
    if (std::wcscmp(AttributeName(i), name) == 0) return i;
  }
  return -1;
}

const wchar_t* CMarkupNode::AttributeValue(const wchar_t* name) const { return AttributeValue(AttributeIndex(name)); }

bool CMarkupNode::HasAttribute(const wchar_t* name) const { return AttributeIndex(name) >= 0; }

}  // namespace SkinUI
