// What a control that holds children offers; a control answers the
// interface name "IContainer" with it.
#pragma once

namespace SkinUI {

class CControlUI;

class IContainerUI {
 public:
  virtual CControlUI* ItemAt(int index) const = 0;
  virtual int IndexOfItem(CControlUI* control) const = 0;
  virtual bool MoveItemTo(CControlUI* control, int index) = 0;
  virtual int ItemCount() const = 0;
  virtual bool AddItem(CControlUI* control) = 0;
  virtual bool AddItemAt(CControlUI* control, int index) = 0;
  virtual bool RemoveItem(CControlUI* control) = 0;
  virtual bool RemoveItemAt(int index) = 0;
  virtual void RemoveAllItems() = 0;

 protected:
  ~IContainerUI() = default;
};

constexpr wchar_t kContainerInterfaceName[] = L"IContainer";

}  // namespace SkinUI
