// A single-line text box: the rich edit's text services with plain text,
// one line that scrolls sideways, Tab moving on and return sending
// "return". Besides the rich edit's attributes ("text", "password",
// "readonly", "maxchar", "tipvalue", ...) it takes "numberonly": typed
// characters other than the digits 0-9 are refused.
#pragma once

#include "ui/containers/rich_edit/rich_edit_ui.h"

namespace SkinUI {

class CEditUI : public CRichEditUI {
 public:
  CEditUI();

  const wchar_t* ControlClass() const override { return L"EditUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

  bool IsNumberOnly() const { return numberOnly_; }

 private:
  bool numberOnly_ = false;
};

}  // namespace SkinUI
