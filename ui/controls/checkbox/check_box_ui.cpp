#include "ui/controls/checkbox/check_box_ui.h"

#include <cwchar>

#include "ui/markup/value_formats.h"
#include "ui/controls/notify_kinds.h"

namespace SkinUI {

void* CCheckBoxUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, L"CheckBox") == 0) return this;
  return COptionUI::QueryInterfaceUI(name);
}

void CCheckBoxUI::HandleEvent(InputEvent& event) {
  const bool press = event.kind == kEventButtonDown || event.kind == kEventDoubleClick;
  if (autoCheck_ && press && IsMouseEnabled() && IsEnabledUI() && PtInRect(&item_, event.mouse)) {
    SetChecked(!IsChecked(), true);
    SendNotify(kNotifyCheckClick);
    Invalidate();
    return;
  }
  COptionUI::HandleEvent(event);
}

void CCheckBoxUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && std::wcscmp(name, L"EnableAutoCheck") == 0) {
    autoCheck_ = ParseBool(value ? value : L"");
    return;
  }
  COptionUI::ApplyAttribute(name, value);
}

}  // namespace SkinUI
