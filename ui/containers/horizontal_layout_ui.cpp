#include "ui/containers/horizontal_layout_ui.h"

#include <cwchar>
#include <string>

#include "ui/markup/value_formats.h"

namespace SkinUI {

void* CHorizontalLayoutUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, L"HorizontalLayout") == 0) return this;
  return CContainerUI::QueryInterfaceUI(name);
}

void CHorizontalLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  const std::wstring_view key = name ? name : L"";
  const std::wstring_view text = value ? value : L"";
  if (key == L"sepwidth") separatorWidth_ = ParseInteger(text);
  else if (key == L"sepimm") separatorImmediate_ = ParseBool(text);
  else if (key == L"autocalcwidth") autoCalcWidth_ = ParseBool(text);
  else if (key == L"ExpandBalance") expandBalance_ = ParseBool(text);
  else CContainerUI::ApplyAttribute(name, value);
}

SIZE CHorizontalLayoutUI::MeasureSize(SIZE available) {
  if (!autoCalcWidth_) return CContainerUI::MeasureSize(available);
  SIZE size = FixedSize();
  size.cx = 0;
  for (const std::unique_ptr<CControlUI>& child : items_) {
    if (!child->IsFloat()) size.cx += child->FixedWidth();
  }
  return size;
}

void CHorizontalLayoutUI::ArrangeChildren(const UiRect& inner) {
  ApplyArrangement(ArrangeHorizontal(LayoutRequests(), inner, ChildPadding(), ChildVAlign(), expandBalance_), inner);
}

}  // namespace SkinUI
