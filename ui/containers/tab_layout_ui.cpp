#include "ui/containers/tab_layout_ui.h"

#include <cwchar>
#include <string>

#include "ui/markup/value_formats.h"
#include "ui/controls/notify_kinds.h"

namespace SkinUI {

void* CTabLayoutUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, L"TabLayout") == 0) return this;
  if (name && std::wcscmp(name, IPageSwitcherUI::kInterfaceName) == 0) return static_cast<IPageSwitcherUI*>(this);
  return CContainerUI::QueryInterfaceUI(name);
}

void CTabLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && std::wcscmp(name, L"selectedid") == 0) PickPage(ParseInteger(value ? value : L""));
  else CContainerUI::ApplyAttribute(name, value);
}

bool CTabLayoutUI::AddItem(CControlUI* control) { return AddItemAt(control, -1); }

bool CTabLayoutUI::AddItemAt(CControlUI* control, int index) {
  const bool appended = index < 0 || index >= ItemCount();
  if (!CContainerUI::AddItemAt(control, index)) return false;
  if (current_ == -1 && control->IsShown()) {
    current_ = IndexOfItem(control);
  } else {
    if (!appended && index <= current_) ++current_;
    control->Show(false);
  }
  return true;
}

bool CTabLayoutUI::RemoveItem(CControlUI* control) { return RemoveItemAt(IndexOfItem(control)); }

bool CTabLayoutUI::RemoveItemAt(int index) {
  if (!CContainerUI::RemoveItemAt(index)) return false;
  if (index == current_) {
    current_ = -1;
    if (ItemCount() > 0) {
      current_ = 0;
      ItemAt(0)->Show(true);
      ItemAt(0)->TakeFocus();
    }
    NeedOwnLayout();
  } else if (index < current_) {
    --current_;
  }
  return true;
}

void CTabLayoutUI::RemoveAllItems() {
  current_ = -1;
  previous_ = -1;
  CContainerUI::RemoveAllItems();
  NeedOwnLayout();
}

bool CTabLayoutUI::PickPage(int index, bool takeFocus) {
  if (index < 0 || index >= ItemCount()) return false;
  if (index == current_) return true;
  previous_ = current_;
  current_ = index;
  for (int i = 0; i < ItemCount(); ++i) {
    if (i != index) ItemAt(i)->Show(false);
  }
  ItemAt(index)->Show(true);
  if (takeFocus) ItemAt(index)->TakeFocus();
  if (manager_) {
    PlaceAt(item_, true);
    NeedLayout();
    if (takeFocus) manager_->NextTabControl(true);
    SendNotify(kNotifyTabSelect, static_cast<WPARAM>(current_), static_cast<LPARAM>(previous_));
  }
  return true;
}

bool CTabLayoutUI::PickPage(CControlUI* page, bool takeFocus) {
  const int index = IndexOfItem(page);
  return index >= 0 && PickPage(index, takeFocus);
}

RECT CTabLayoutUI::ArrangeArea() const {
  const RECT inset = UnscaledInset();
  return {item_.left + inset.left, item_.top + inset.top, item_.right - inset.right, item_.bottom - inset.bottom};
}

void CTabLayoutUI::ArrangeChildren(const UiRect& inner) {
  std::vector<LayoutRequest> requests = LayoutRequests();
  for (int i = 0; i < ItemCount(); ++i) {
    CControlUI* child = ItemAt(i);
    if (child->IsFloat()) PlaceFloatChild(i);
    else if (i == current_ && child->IsShown()) child->PlaceAt(ToRect(ArrangeTabPage(requests[i], inner)), false);
  }
}

}  // namespace SkinUI
