// A living window taken to a new DPI: pictures and fonts made again, the
// window resized in proportion and laid out again.
#include "ui/containers/rich_edit/rich_edit_ui.h"
#include "ui/controls/control_ui.h"
#include "ui/host/paint_manager_ui.h"
#include "ui/controls/notify_kinds.h"

namespace SkinUI {

namespace {

int& ProcessDpiValue() {
  static int dpi = 96;
  return dpi;
}

}  // namespace

int CPaintManagerUI::ProcessDpi() { return ProcessDpiValue(); }

void CPaintManagerUI::ApplyDpiToAll(int dpi) {
  for (CPaintManagerUI* manager : std::vector<CPaintManagerUI*>(Managers())) manager->ApplyDpi(dpi);
  ProcessDpiValue() = dpi;
}

void CPaintManagerUI::ApplyDpi(int dpi) {
  const int oldScale = dpi_.Scale();
  dpi_.SetDpi(dpi);
  const int newScale = dpi_.Scale();
  DropScaledResources();
  RecreateFonts();
  // Text services keep the font they were given: hand them the new one.
  if (root_) {
    for (CControlUI* control : CollectByClass(root_, L"RichEdit")) {
      auto* edit = static_cast<CRichEditUI*>(control->QueryInterfaceUI(L"RichEdit"));
      if (edit) edit->SetFontId(edit->FontId());
    }
  }
  if (window_ && !IsZoomed(window_) && oldScale > 0) {
    RECT rect{};
    GetWindowRect(window_, &rect);
    const int width = (rect.right - rect.left) * newScale / oldScale;
    const int height = (rect.bottom - rect.top) * newScale / oldScale;
    SetWindowPos(window_, nullptr, rect.left, rect.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (root_) root_->NeedOwnLayout();
  NeedLayout();
  if (window_) PostMessageW(window_, kMsgScaleChanged, static_cast<WPARAM>(oldScale), static_cast<LPARAM>(newScale));
  if (root_) DispatchNotify(root_, kNotifyDpiChanged, 0, 0, false);
}

}  // namespace SkinUI
