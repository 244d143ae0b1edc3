#include "ui/containers/vertical_layout_ui.h"

#include <cwchar>
#include <string>

#include "ui/markup/value_formats.h"

namespace SkinUI {

void* CVerticalLayoutUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, L"VerticalLayout") == 0) return this;
  return CContainerUI::QueryInterfaceUI(name);
}

void CVerticalLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  const std::wstring_view key = name ? name : L"";
  const std::wstring_view text = value ? value : L"";
  if (key == L"sepheight") separatorHeight_ = ParseInteger(text);
  else if (key == L"sepimm") separatorImmediate_ = ParseBool(text);
  else if (key == L"autocalcheight") autoCalcHeight_ = ParseBool(text);
  else CContainerUI::ApplyAttribute(name, value);
}

SIZE CVerticalLayoutUI::MeasureSize(SIZE available) {
  if (!autoCalcHeight_) return CContainerUI::MeasureSize(available);
  SIZE size = FixedSize();
  size.cy = 0;
  for (const std::unique_ptr<CControlUI>& child : items_) {
    if (!child->IsFloat()) size.cy += child->FixedHeight();
  }
  return size;
}

void CVerticalLayoutUI::ArrangeChildren(const UiRect& inner) {
  ApplyArrangement(ArrangeVertical(LayoutRequests(), inner, ChildPaddingSecond()), inner);
}

}  // namespace SkinUI
