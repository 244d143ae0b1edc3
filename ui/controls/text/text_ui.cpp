#include "ui/controls/text/text_ui.h"

#include <cwchar>

namespace SkinUI {

CTextUI::CTextUI() {
  SetTextStyle(DT_WORDBREAK);
  SetTextPadding({2, 0, 2, 0});
}

void* CTextUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, L"Text") == 0) return this;
  return CLabelUI::QueryInterfaceUI(name);
}

}  // namespace SkinUI
