#include "ui/controls/text/text_ui.h"

#include <cwchar>

#include "ui/controls/notify_kinds.h"
#include "ui/render/tag_text.h"

namespace SkinUI {

namespace {

constexpr WORD kHandCursor = 32649;

}  // namespace

CTextUI::CTextUI() {
  SetTextStyle(DT_WORDBREAK);
  SetTextPadding({2, 0, 2, 0});
}

void* CTextUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, L"Text") == 0) return this;
  return CLabelUI::QueryInterfaceUI(name);
}

UINT CTextUI::ControlFlags() const { return IsEnabledUI() && LinkCount() > 0 ? 2 : 0; }

int CTextUI::LinkCount() const {
  return IsShowHtml() ? static_cast<int>(ParseTagText(ControlText()).linkTargets.size()) : 0;
}

std::wstring CTextUI::LinkTarget(int index) const {
  const TagText parsed = ParseTagText(ControlText());
  return index >= 0 && index < static_cast<int>(parsed.linkTargets.size()) ? parsed.linkTargets[index] : L"";
}

int CTextUI::LinkAt(POINT point) const {
  for (const auto& [index, rect] : LinkRects()) {
    if (PtInRect(&rect, point)) return index;
  }
  return -1;
}

void CTextUI::HandleEvent(InputEvent& event) {
  if (!IsEnabledUI() || LinkRects().empty()) {
    CLabelUI::HandleEvent(event);
    return;
  }
  switch (event.kind) {
    case kEventSetCursor:
      if (LinkAt(event.mouse) >= 0) {
        ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(kHandCursor)));
        return;
      }
      break;
    case kEventMouseMove:
      SetHotLink(LinkAt(event.mouse));
      break;
    case kEventMouseLeave:
      SetHotLink(-1);
      break;
    case kEventButtonDown:
    case kEventDoubleClick:
      pressedLink_ = LinkAt(event.mouse);
      if (pressedLink_ >= 0) return;
      break;
    case kEventButtonUp: {
      const int link = LinkAt(event.mouse);
      const bool clicked = link >= 0 && link == pressedLink_;
      pressedLink_ = -1;
      if (clicked) {
        SendNotify(kNotifyLink, static_cast<WPARAM>(link));
        return;
      }
      break;
    }
    default:
      break;
  }
  CLabelUI::HandleEvent(event);
}

}  // namespace SkinUI
