// Pages on top of each other of which only the current one is shown.
#pragma once

#include "ui/containers/container_ui.h"

namespace SkinUI {

class CTabLayoutUI : public CContainerUI {
 public:
  const wchar_t* ControlClass() const override { return L"TabLayoutUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

  bool AddItem(CControlUI* control) override;
  bool AddItemAt(CControlUI* control, int index) override;
  bool RemoveItem(CControlUI* control) override;
  bool RemoveItemAt(int index) override;
  void RemoveAllItems() override;

  int CurrentPage() const { return current_; }
  int PreviousPage() const { return previous_; }
  // Shows the page, hides the others and sends "tabselect"; false for an
  // index outside the pages.
  bool PickPage(int index, bool takeFocus = true);
  bool PickPage(CControlUI* page, bool takeFocus = true);

 protected:
  void ArrangeChildren(const UiRect& inner) override;
  // The tab layout keeps its inset unscaled.
  RECT ArrangeArea() const override;

 private:
  int current_ = -1;
  int previous_ = -1;
};

}  // namespace SkinUI
