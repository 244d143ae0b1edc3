// Lets a window create the controls that the factory does not know.
#pragma once

namespace SkinUI {

class CControlUI;

class IDialogBuilderCallback {
 public:
  // A new control for the markup element name, or none.
  virtual CControlUI* CreateCustomControl(const wchar_t* elementName) = 0;

 protected:
  ~IDialogBuilderCallback() = default;
};

}  // namespace SkinUI
