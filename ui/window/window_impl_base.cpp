#include "ui/window/window_impl_base.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <memory>

#include "ui/building/layout_builder.h"
#include "ui/controls/control_ui.h"
#include "ui/controls/notify_kinds.h"

namespace SkinUI {

namespace {

constexpr wchar_t kLoadFailedText[] = L"加载资源文件失败：";
constexpr wchar_t kLoadFailedCaption[] = L"SkinUI";

// Classes that let a press in the caption area drag the window.
constexpr const wchar_t* kPassThroughClasses[] = {
    L"controlui",         L"textui",        L"labelui",          L"containerui",     L"horizontallayoutui",
    L"verticallayoutui",  L"tablayoutui",   L"childlayoutui",    L"dialoglayoutui",  L"progresscontainerui",
};

bool IsPassThroughClass(const CControlUI* control) {
  std::wstring name = control->ControlClass();
  std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return std::any_of(std::begin(kPassThroughClasses), std::end(kPassThroughClasses),
                     [&name](const wchar_t* each) { return name == each; });
}

}  // namespace

const MessageMap* WindowImplBase::NotifyMap() const {
  static const MessageMapEntry entries[] = {
      OnNotifyRecord<WindowImplBase>(kNotifyClick, L"", &WindowImplBase::OnCaptionButton),
      OnNotifyRecord<WindowImplBase>(kNotifyHeaderClick, L"", &WindowImplBase::OnHeaderClick),
      OnNotifyRecord<WindowImplBase>(kNotifySelectChanged, L"", &WindowImplBase::OnSelectChanged),
      OnNotifyRecord<WindowImplBase>(kNotifyTextChanged, L"", &WindowImplBase::OnTextChanged),
      OnNotifyRecord<WindowImplBase>(kNotifyItemSelect, L"", &WindowImplBase::OnItemSelect),
      OnNotifyRecord<WindowImplBase>(kNotifyTimer, L"", &WindowImplBase::OnTimer),
      kMessageMapEnd,
  };
  static const MessageMap map{nullptr, entries};
  return &map;
}

bool WindowImplBase::IsCaptionPassThrough(const CControlUI* control) {
  if (control == nullptr) return false;
  for (const CControlUI* each = control; each; each = each->ParentControl()) {
    if (each->IsDynamic() || !IsPassThroughClass(each)) return false;
  }
  return true;
}

void WindowImplBase::OnNotify(NotifyRecord& record) {
  if (record.sender) NotifyPump(record);
}

LRESULT WindowImplBase::FilterMessage(UINT, WPARAM, LPARAM, bool&) { return 0; }

CControlUI* WindowImplBase::CreateCustomControl(const wchar_t*) { return nullptr; }

LRESULT WindowImplBase::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  bool handled = true;
  LRESULT result = HandleOwnMessage(message, wParam, lParam, handled);
  if (handled) return result;
  handled = true;
  result = OnOtherMessage(message, wParam, lParam, handled);
  if (handled) return result;
  if (manager_.HandleWindowMessage(message, wParam, lParam, result)) return result;
  return CWindowWnd::RouteMessage(message, wParam, lParam);
}

LRESULT WindowImplBase::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  switch (message) {
    case WM_CREATE: return OnCreate(message, wParam, lParam, handled);
    case WM_CLOSE: return OnClose(message, wParam, lParam, handled);
    case WM_DESTROY: return OnDestroy(message, wParam, lParam, handled);
    case WM_NCACTIVATE: return OnNcActivate(message, wParam, lParam, handled);
    case WM_NCCALCSIZE: return OnNcCalcSize(message, wParam, lParam, handled);
    case WM_NCPAINT: return OnNcPaint(message, wParam, lParam, handled);
    case WM_NCHITTEST: return OnNcHitTest(message, wParam, lParam, handled);
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(message, wParam, lParam, handled);
    case WM_SIZE: return OnSize(message, wParam, lParam, handled);
    case WM_SYSCOMMAND: return OnSysCommand(message, wParam, lParam, handled);
    case WM_DPICHANGED: return OnDpiChanged(message, wParam, lParam, handled);
    default: return NotHandled(handled);
  }
}

void WindowImplBase::AfterWindowGone(HWND) {
  manager_.RemovePreFilter(this);
  manager_.RemoveReceiver(this);
  manager_.DrainQueuedNotifications();
}

LONG WindowImplBase::FrameStyle() const {
  return (GetWindowLongW(Window(), GWL_STYLE) & ~WS_CAPTION) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool& handled) {
  SetWindowLongW(Window(), GWL_STYLE, FrameStyle());
  manager_.BindWindow(Window(), ManagerName());
  manager_.AddPreFilter(this);
  PrepareResources();
  CLayoutBuilder builder;
  std::unique_ptr<CControlUI> root = builder.Build(SkinFile(), SkinResourceType(), this, &manager_);
  if (root == nullptr) {
    SkinLoadFailed(builder);
    return -1;
  }
  manager_.AttachRoot(std::move(root));
  manager_.AddReceiver(this);
  const UiSize size = manager_.Attributes().initialSize;
  if (size.cx > 0 && size.cy > 0) {
    SetWindowPos(Window(), nullptr, 0, 0, manager_.ScaleValue(size.cx), manager_.ScaleValue(size.cy),
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
  AfterSkinLoaded();
  handled = true;
  return 0;
}

void WindowImplBase::SkinLoadFailed(const CLayoutBuilder&) {
  const std::wstring text = kLoadFailedText + SkinFile();
  MessageBoxW(nullptr, text.c_str(), kLoadFailedCaption, MB_ICONERROR);
  ExitProcess(1);
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled) {
  if (IsIconic(Window())) return NotHandled(handled);
  return wParam == FALSE ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool&) {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(Window(), &point);
  RECT client{};
  GetClientRect(Window(), &client);
  const WindowAttributes& attributes = manager_.Attributes();
  if (!IsZoomed(Window())) {
    const UiRect inset = attributes.sizeBoxInset;
    RECT box = client;
    box.left += inset.left;
    box.top += inset.top;
    box.right -= inset.right;
    box.bottom -= inset.bottom;
    const UiRect size = attributes.sizeBox;
    const bool left = point.x < box.left + size.left, right = point.x >= box.right - size.right;
    if (point.y < box.top + size.top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (point.y >= box.bottom - size.bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
  }
  const UiRect caption = attributes.caption;
  const int captionBottom = caption.bottom == -1 ? client.bottom : manager_.ScaleValue(caption.bottom);
  if (point.x >= client.left + caption.left && point.x < client.right - caption.right && point.y >= caption.top &&
      point.y < captionBottom) {
    if (IsCaptionPassThrough(manager_.LookupControlAt(point))) return HTCAPTION;
  }
  return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool&) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(Window(), MONITOR_DEFAULTTONEAREST), &monitor);
  RECT work = monitor.rcWork;
  if ((monitor.dwFlags & MONITORINFOF_PRIMARY) == 0) OffsetRect(&work, -work.left, -work.top);
  const WindowAttributes& attributes = manager_.Attributes();
  info->ptMaxPosition = {work.left, work.top};
  info->ptMaxSize = {work.right - work.left, work.bottom - work.top};
  info->ptMaxTrackSize = info->ptMaxSize;
  if (attributes.maxInfo.cx > 0) info->ptMaxTrackSize.x = attributes.maxInfo.cx;
  if (attributes.maxInfo.cy > 0) info->ptMaxTrackSize.y = attributes.maxInfo.cy;
  info->ptMinTrackSize = {manager_.ScaleValue(attributes.minInfo.cx), manager_.ScaleValue(attributes.minInfo.cy)};
  return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, bool& handled) {
  const UiSize corner = manager_.Attributes().roundCorner;
  if (!IsIconic(Window()) && (corner.cx != 0 || corner.cy != 0)) {
    RECT window{};
    GetWindowRect(Window(), &window);
    const HRGN region = CreateRoundRectRgn(0, 0, window.right - window.left + 1, window.bottom - window.top + 1,
                                           corner.cx, corner.cy);
    // The window owns the region from here on.
    if (region && !SetWindowRgn(Window(), region, TRUE)) DeleteObject(region);
  }
  return NotHandled(handled);
}

LRESULT WindowImplBase::OnDpiChanged(UINT, WPARAM wParam, LPARAM lParam, bool&) {
  const int dpi = LOWORD(wParam);
  if (dpi <= 0 || dpi == manager_.Dpi().Dpi()) return 0;
  manager_.ApplyDpi(dpi);
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  if (suggested != nullptr && !IsZoomed(Window())) {
    SetWindowPos(Window(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool&) {
  if (wParam == SC_CLOSE) {
    SendToWindow(WM_CLOSE);
    return 0;
  }
  const bool wasZoomed = IsZoomed(Window()) != FALSE;
  const LRESULT result = CWindowWnd::RouteMessage(message, wParam, lParam);
  if (IsWindow(Window()) && (IsZoomed(Window()) != FALSE) != wasZoomed && !IsIconic(Window())) SwapMaximiseButtons();
  return result;
}

void WindowImplBase::SwapMaximiseButtons() {
  const bool zoomed = IsZoomed(Window()) != FALSE;
  if (CControlUI* maximise = manager_.LookupControl(L"maxbtn")) maximise->Show(!zoomed);
  if (CControlUI* restore = manager_.LookupControl(L"restorebtn")) restore->Show(zoomed);
}

void WindowImplBase::OnCaptionButton(NotifyRecord& record) {
  const std::wstring& name = record.senderName;
  if (name == L"closebtn") RequestClose(1);
  else if (name == L"minbtn") SendToWindow(WM_SYSCOMMAND, SC_MINIMIZE);
  else if (name == L"maxbtn") SendToWindow(WM_SYSCOMMAND, SC_MAXIMIZE);
  else if (name == L"restorebtn") SendToWindow(WM_SYSCOMMAND, SC_RESTORE);
}

}  // namespace SkinUI
