// A container that shows one of its pages at a time (the tab layout), as a
// button bound to it by name sees it: the controls know no container class.
#pragma once

namespace SkinUI {

class CControlUI;

class IPageSwitcherUI {
 public:
  // The QueryInterfaceUI name that answers this interface.
  static constexpr const wchar_t* kInterfaceName = L"PageSwitcher";

  // Shows the page, hides the others and sends "tabselect"; false for an
  // index outside the pages.
  virtual bool PickPage(int index, bool takeFocus = true) = 0;
  virtual bool PickPage(CControlUI* page, bool takeFocus = true) = 0;

 protected:
  ~IPageSwitcherUI() = default;
};

}  // namespace SkinUI
