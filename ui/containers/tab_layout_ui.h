// Pages on top of each other of which only the current one is shown.
#pragma once

#include "ui/containers/container_ui.h"
#include "ui/controls/page_switcher.h"

namespace SkinUI {

class CTabLayoutUI : public CContainerUI, public IPageSwitcherUI {
 public:
  const wchar_t* ControlClass() const override { return L"TabLayoutUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

  using CContainerUI::AddItem;
  bool AddItem(CControlUI* control) override;
  bool AddItemAt(CControlUI* control, int index) override;
  bool RemoveItem(CControlUI* control) override;
  bool RemoveItemAt(int index) override;
  void RemoveAllItems() override;

  int CurrentPage() const { return current_; }
  int PreviousPage() const { return previous_; }
  bool PickPage(int index, bool takeFocus = true) override;
  bool PickPage(CControlUI* page, bool takeFocus = true) override;

 protected:
  void ArrangeChildren(const UiRect& inner) override;
  // The tab layout keeps its inset unscaled.
  RECT ArrangeArea() const override;

 private:
  int current_ = -1;
  int previous_ = -1;
};

}  // namespace SkinUI
