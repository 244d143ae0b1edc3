#include "ui/containers/edit/edit_ui.h"

#include <cwchar>

#include "ui/markup/value_formats.h"

namespace SkinUI {

CEditUI::CEditUI() {
  CRichEditUI::ApplyAttribute(L"multiline", L"false");
  CRichEditUI::ApplyAttribute(L"autohscroll", L"true");
  CRichEditUI::ApplyAttribute(L"rich", L"false");
  CRichEditUI::ApplyAttribute(L"wanttab", L"false");
  CRichEditUI::ApplyAttribute(L"wantreturn", L"false");
}

void* CEditUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, L"Edit") == 0) return this;
  return CRichEditUI::QueryInterfaceUI(name);
}

void CEditUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && std::wcscmp(name, L"numberonly") == 0) {
    numberOnly_ = ParseBool(value ? value : L"");
    return;
  }
  CRichEditUI::ApplyAttribute(name, value);
}

LRESULT CEditUI::FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  // Control characters (backspace, Ctrl+V, ...) go on; other characters
  // than digits are refused.
  const bool refused = numberOnly_ && message == WM_CHAR && IsFocused() && IsShown() && IsEnabledUI() &&
                       wParam >= 0x20 && !(wParam >= L'0' && wParam <= L'9');
  if (refused) {
    handled = true;
    return 0;
  }
  return CRichEditUI::FilterMessage(message, wParam, lParam, handled);
}

}  // namespace SkinUI
