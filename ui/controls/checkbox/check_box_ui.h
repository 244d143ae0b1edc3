// An option drawn as a check box; with "EnableAutoCheck" a press toggles it
// at once, without capture and without "click".
#pragma once

#include "ui/controls/option/option_ui.h"
#include "ui/controls/notify_kinds.h"

namespace SkinUI {

class CCheckBoxUI : public COptionUI {
 public:
  const wchar_t* ControlClass() const override { return L"CheckBoxUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  void HandleEvent(InputEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

 protected:
  // The new state travels in wParam.
  void NotifySelectChanged() override { SendNotify(kNotifySelectChanged, IsChecked() ? 1 : 0); }
  // Deselected by another member of its group: quietly.
  void DeselectForGroup(bool) override { SetChecked(false, false); }

 private:
  bool autoCheck_ = false;
};

}  // namespace SkinUI
