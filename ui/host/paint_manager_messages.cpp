// Window messages turned into input events for the control under the
// cursor or with the focus: mouse, keyboard, focus, capture, hover, tool
// tips, cursors, timers and the reflection of child notifications.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include <cstdlib>
#include <cwchar>
#include <cwctype>

#include "ui/controls/control_ui.h"
#include "ui/host/paint_manager_ui.h"

namespace SkinUI {

namespace {

// Past this many pixels from the press point a held button starts a drag.
constexpr int kDragThreshold = 4;

WORD KeyStateNow() {
  WORD state = 0;
  if (GetKeyState(VK_LBUTTON) < 0) state |= kKeyStateLeftButton;
  if (GetKeyState(VK_RBUTTON) < 0) state |= kKeyStateRightButton;
  if (GetKeyState(VK_SHIFT) < 0) state |= kKeyStateShift;
  if (GetKeyState(VK_CONTROL) < 0) state |= kKeyStateControl;
  if (GetKeyState(VK_MENU) < 0) state |= kKeyStateAlt;
  return state;
}

POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

InputEvent CPaintManagerUI::MakeEvent(int kind, CControlUI* sender, WPARAM wParam, LPARAM lParam) const {
  InputEvent event;
  event.kind = kind;
  event.sender = sender;
  event.timestamp = GetTickCount();
  event.mouse = lastMouse_;
  event.keyState = KeyStateNow();
  event.wParam = wParam;
  event.lParam = lParam;
  return event;
}

void CPaintManagerUI::Route(CControlUI* control, int kind, WPARAM wParam, LPARAM lParam) {
  if (control == nullptr) return;
  InputEvent event = MakeEvent(kind, control, wParam, lParam);
  if (kind == kEventKeyDown || kind == kEventKeyUp || kind == kEventChar || kind == kEventSysKey) {
    event.key = static_cast<wchar_t>(wParam);
  }
  control->RouteEvent(event);
}

bool CPaintManagerUI::HandleFilters(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const std::vector<IMessageFilterUI*> filters = filters_;
  for (IMessageFilterUI* filter : filters) {
    bool handled = false;
    const LRESULT answer = filter->FilterMessage(message, wParam, lParam, handled);
    if (!handled) continue;
    switch (message) {
      case WM_CONTEXTMENU: case WM_MOUSEWHEEL: case WM_MOUSEMOVE:
      case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_LBUTTONUP:
        lastMouse_ = PointOf(lParam);
        break;
      default:
        break;
    }
    result = answer;
    return true;
  }
  return false;
}

bool CPaintManagerUI::PreTranslate(const MSG& message) {
  const std::vector<IMessageFilterUI*> filters = preFilters_;
  for (IMessageFilterUI* filter : filters) {
    bool handled = false;
    filter->FilterMessage(message.message, message.wParam, message.lParam, handled);
    if (handled) return true;
  }
  switch (message.message) {
    case WM_SYSKEYDOWN:
      if (focus_) Route(focus_, kEventSysKey, message.wParam, message.lParam);
      return false;
    case WM_SYSCHAR:
      return ActivateShortcut(static_cast<wchar_t>(std::towupper(static_cast<wint_t>(message.wParam))));
    case WM_KEYDOWN:
      if (message.wParam != VK_TAB) return false;
      if (focus_ && focus_->IsShown() && focus_->IsEnabledUI() && focus_->QueryInterfaceUI(kWantsTabInterface)) {
        return false;
      }
      if (tabSupport_.empty()) NextTabControl(GetKeyState(VK_SHIFT) >= 0);
      else CycleTabSupport();
      return true;
    default:
      return false;
  }
}

bool CPaintManagerUI::ActivateShortcut(wchar_t key) {
  if (root_ == nullptr || key == 0) return false;
  struct Search {
    wchar_t key;
    bool afterLabel;
    CControlUI* found;
    static CControlUI* Step(CControlUI* control, void* data) {
      auto* search = static_cast<Search*>(data);
      const wchar_t own = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(control->Shortcut())));
      if (search->afterLabel && control->ControlFlags() != 0) return control;
      if (own != search->key || !control->IsShown()) return nullptr;
      // A label's shortcut selects the next control that can take the focus.
      if (std::wcscmp(control->ControlClass(), L"LabelUI") == 0) {
        search->afterLabel = true;
        return nullptr;
      }
      return control;
    }
  };
  Search search{key, false, nullptr};
  CControlUI* found = root_->FindControlBy(&Search::Step, &search, kFindVisible | kFindEnabled | kFindMeFirst);
  if (found == nullptr) return false;
  found->TakeFocus();
  found->CanActivate(false);
  return true;
}

void CPaintManagerUI::TrackMouse() {
  if (mouseTracking_ || !window_) return;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_HOVER | TME_LEAVE;
  track.hwndTrack = window_;
  track.dwHoverTime = toolTip_ ? static_cast<DWORD>(SendMessageW(toolTip_, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
                               : static_cast<DWORD>(attributes_.toolTipHoverTime);
  mouseTracking_ = TrackMouseEvent(&track) != FALSE;
}

void CPaintManagerUI::OnMouseMove(POINT point, WPARAM wParam, LPARAM lParam) {
  TrackMouse();
  lastMouse_ = point;
  CControlUI* under = LookupControlAt(point);
  if (under && under->OwnerManager() != this) under = nullptr;
  if (under != hover_) {
    if (hover_) {
      Route(hover_, kEventMouseLeave, wParam, lParam);
      if (toolTip_) SendMessageW(toolTip_, TTM_ACTIVATE, FALSE, 0);
    }
    hover_ = under;
    if (hover_ && !dragBegun_) Route(hover_, kEventMouseEnter, wParam, lParam);
  }
  if (captured_) {
    const bool leftDown = (wParam & MK_LBUTTON) != 0;
    if (!dragBegun_ && leftDown &&
        (std::abs(point.x - pressPoint_.x) > kDragThreshold || std::abs(point.y - pressPoint_.y) > kDragThreshold)) {
      dragBegun_ = true;
      Route(captured_, captured_->IsDragMove() ? kEventDragMoveBegin : kEventDragBegin, wParam, lParam);
      return;
    }
    Route(captured_, dragBegun_ && captured_->IsDragMove() ? kEventDragMoving : kEventMouseMove, wParam, lParam);
  } else if (under) {
    Route(under, kEventMouseMove, wParam, lParam);
  }
}

void CPaintManagerUI::OnButtonDown(int kind, POINT point, WPARAM wParam, LPARAM lParam) {
  if (window_ && GetFocus() != window_) SetFocus(window_);
  lastMouse_ = point;
  pressPoint_ = point;
  dragBegun_ = false;
  CControlUI* under = LookupControlAt(point);
  if (under == nullptr || under->OwnerManager() != this) return;
  captured_ = under;
  if (window_) SetCapture(window_);
  under->TakeFocus();
  Route(under, kind, wParam, lParam);
}

void CPaintManagerUI::OnButtonUp(int kind, WPARAM wParam, LPARAM lParam) {
  if (window_ && GetCapture() == window_) ReleaseCapture();
  CControlUI* control = captured_;
  if (control == nullptr) return;
  const bool moving = dragBegun_ && control->IsDragMove() && kind == kEventButtonUp;
  dragBegun_ = false;
  Route(control, moving ? kEventDragMoveEnd : kind, wParam, lParam);
  // After a right-button release only a control with a context menu keeps the capture.
  if (kind == kEventRButtonUp && captured_ && captured_->IsContextMenuUsed()) return;
  captured_ = nullptr;
}

void CPaintManagerUI::ShowToolTip(CControlUI* control) {
  const std::wstring text = control->ToolTip();
  if (text.empty()) return;
  if (toolTip_ == nullptr) {
    toolTip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, Instance(), nullptr);
    if (toolTip_ == nullptr) return;
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND;
    info.hwnd = window_;
    info.uId = reinterpret_cast<UINT_PTR>(window_);
    info.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
  TOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND;
  info.hwnd = window_;
  info.uId = reinterpret_cast<UINT_PTR>(window_);
  info.rect = control->ItemRect();
  info.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, control->ToolTipWidth());
  if (attributes_.toolTipBkColour) {
    SendMessageW(toolTip_, TTM_SETTIPBKCOLOR, attributes_.toolTipBkColour & 0xFFFFFF, 0);
  }
  if (attributes_.toolTipTextColour) {
    SendMessageW(toolTip_, TTM_SETTIPTEXTCOLOR, attributes_.toolTipTextColour & 0xFFFFFF, 0);
  }
  SendMessageW(toolTip_, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(toolTip_, TTM_ACTIVATE, TRUE, 0);
}

void CPaintManagerUI::OnMouseHover(POINT point, WPARAM wParam, LPARAM lParam) {
  mouseTracking_ = false;
  lastMouse_ = point;
  CControlUI* under = LookupControlAt(point);
  if (under == nullptr) return;
  Route(under, kEventMouseHover, wParam, lParam);
  if (under != toolTipControl_) {
    toolTipControl_ = under;
    ShowToolTip(under);
  }
}

void CPaintManagerUI::OnMouseLeave() {
  if (toolTip_) SendMessageW(toolTip_, TTM_ACTIVATE, FALSE, 0);
  toolTipControl_ = nullptr;
  if (!mouseTracking_) return;
  mouseTracking_ = false;
  // A control that holds the capture (a dragged scroll thumb) goes on
  // getting the real moves; a made-up one at -1,-1 would drag it there.
  if (captured_) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(window_, &cursor);
  RECT client{};
  GetClientRect(window_, &client);
  const bool inside = GetActiveWindow() == window_ && PtInRect(&client, cursor);
  const LPARAM at = inside ? MAKELPARAM(cursor.x, cursor.y) : MAKELPARAM(-1, -1);
  SendMessageW(window_, WM_MOUSEMOVE, 0, at);
}

bool CPaintManagerUI::OnSetCursor(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(lParam) != HTCLIENT) return false;
  if (captured_) return true;
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(window_, &cursor);
  // The cursor message comes before the move that brought the cursor here.
  lastMouse_ = cursor;
  CControlUI* under = LookupControlAt(cursor);
  if (under == nullptr) return false;
  Route(under, kEventSetCursor, wParam, lParam);
  return (under->ControlFlags() & 2) != 0;
}

void CPaintManagerUI::OnGetMinMaxInfo(MINMAXINFO* info) const {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    info->ptMaxPosition = {work.left - monitor.rcMonitor.left, work.top - monitor.rcMonitor.top};
    info->ptMaxSize = {work.right - work.left, work.bottom - work.top};
  }
  if (attributes_.minInfo.cx > 0) info->ptMinTrackSize.x = ScaleValue(attributes_.minInfo.cx);
  if (attributes_.minInfo.cy > 0) info->ptMinTrackSize.y = ScaleValue(attributes_.minInfo.cy);
  if (attributes_.maxInfo.cx > 0) info->ptMaxTrackSize.x = attributes_.maxInfo.cx;
  if (attributes_.maxInfo.cy > 0) info->ptMaxTrackSize.y = attributes_.maxInfo.cy;
}

// Child windows' own notifications go back to them as OCM_ messages (message + 0x2000).
bool CPaintManagerUI::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND child = nullptr;
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    child = header ? header->hwndFrom : nullptr;
  } else {
    child = reinterpret_cast<HWND>(lParam);
  }
  if (child == nullptr || !IsWindow(child)) return false;
  result = SendMessageW(child, message + 0x2000, wParam, lParam);
  return result != 0;
}

bool CPaintManagerUI::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  if (window_ == nullptr) return false;
  if (HandleFilters(message, wParam, lParam, result)) return true;
  if (IsLayered()) {
    if (message == WM_NCCALCSIZE || message == WM_NCPAINT) return true;
    if (message == WM_NCACTIVATE && !IsIconic(window_)) {
      result = wParam == FALSE ? TRUE : FALSE;
      return true;
    }
  }
  switch (message) {
    case WM_CLOSE:
      if (hover_) Route(hover_, kEventMouseLeave);
      if (captured_) Route(captured_, kEventButtonUp);
      hover_ = captured_ = nullptr;
      SetFocusControl(nullptr);
      if (GetActiveWindow() == window_) {
        if (HWND owner = GetWindow(window_, GW_OWNER)) SetFocus(owner);
      }
      if (toolTip_) {
        DestroyWindow(toolTip_);
        toolTip_ = nullptr;
      }
      return false;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT:
      Paint();
      return true;
    case WM_PRINTCLIENT: {
      if (root_ == nullptr) return false;
      const HDC dc = reinterpret_cast<HDC>(wParam);
      RECT client{};
      GetClientRect(window_, &client);
      root_->PaintControl(dc, client, nullptr);
      if (lParam & PRF_CHILDREN) {
        for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
          RECT place{};
          GetWindowRect(child, &place);
          MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&place), 2);
          POINT origin{};
          SetWindowOrgEx(dc, -place.left, -place.top, &origin);
          SendMessageW(child, WM_PRINT, wParam, lParam | PRF_NONCLIENT);
          SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
        }
      }
      return true;
    }
    case WM_SIZE:
      if (focus_) Route(focus_, kEventWindowSize, wParam, lParam);
      if (root_) root_->NeedOwnLayout();
      return false;
    case WM_TIMER: {
      UINT id = 0;
      CControlUI* target = TimerTarget(wParam, id);
      if (target == nullptr) return false;
      InputEvent event = MakeEvent(kEventTimer, target, id, lParam);
      target->RouteEvent(event);
      return true;
    }
    case WM_MOUSEMOVE:
      OnMouseMove(PointOf(lParam), wParam, lParam);
      return false;
    case WM_LBUTTONDOWN:
      OnButtonDown(kEventButtonDown, PointOf(lParam), wParam, lParam);
      return false;
    case WM_LBUTTONDBLCLK:
      OnButtonDown(kEventDoubleClick, PointOf(lParam), wParam, lParam);
      return false;
    case WM_LBUTTONUP:
      lastMouse_ = PointOf(lParam);
      OnButtonUp(kEventButtonUp, wParam, lParam);
      return false;
    case WM_RBUTTONDOWN:
      OnButtonDown(kEventRButtonDown, PointOf(lParam), wParam, lParam);
      return false;
    case WM_RBUTTONUP:
      lastMouse_ = PointOf(lParam);
      OnButtonUp(kEventRButtonUp, wParam, lParam);
      return false;
    case WM_MBUTTONDOWN:
      OnButtonDown(kEventMButtonDown, PointOf(lParam), wParam, lParam);
      return false;
    case WM_MBUTTONUP:
      lastMouse_ = PointOf(lParam);
      OnButtonUp(kEventMButtonUp, wParam, lParam);
      return false;
    case WM_CONTEXTMENU:
      if (captured_ == nullptr) return false;
      if (GetCapture() == window_) ReleaseCapture();
      Route(captured_, kEventContextMenu, wParam, lParam);
      captured_ = nullptr;
      return false;
    case WM_MOUSEWHEEL: {
      POINT point = PointOf(lParam);
      ScreenToClient(window_, &point);
      lastMouse_ = point;
      CControlUI* under = LookupControlAt(point);
      if (under) Route(under, kEventScrollWheel, GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : 0, lParam);
      SendMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
      return false;
    }
    case WM_MOUSEHOVER:
      OnMouseHover(PointOf(lParam), wParam, lParam);
      return false;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return false;
    case WM_SETCURSOR:
      if (!OnSetCursor(wParam, lParam)) return false;
      result = TRUE;
      return true;
    case WM_SETFOCUS:
      if (focus_) Route(focus_, kEventSetFocus, wParam, lParam);
      return false;
    case WM_KILLFOCUS:
      if (attributes_.killFocusSendsButtonUp && captured_) {
        Route(captured_, kEventButtonUp, wParam, lParam);
        captured_ = nullptr;
      }
      SetFocusControl(nullptr);
      return false;
    case WM_KEYDOWN:
      if (focus_ == nullptr) return false;
      keyDown_ = focus_;
      Route(focus_, kEventKeyDown, wParam, lParam);
      return false;
    case WM_KEYUP:
      if (keyDown_ == nullptr) return false;
      Route(keyDown_, kEventKeyUp, wParam, lParam);
      keyDown_ = nullptr;
      return false;
    case WM_CHAR:
      if (focus_ == nullptr) return false;
      Route(focus_, kEventChar, wParam, lParam);
      return false;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return false;
    case WM_COMMAND: case WM_CTLCOLOREDIT: case WM_CTLCOLORSTATIC: case WM_NOTIFY:
      return ReflectToChild(message, wParam, lParam, result);
    case kMsgQueuedNotify:
      ProcessQueue();
      return true;
    case kMsgLayeredPaint:
      layeredPaintPosted_ = false;
      if (IsLayered()) Paint();
      return true;
    case kMsgCreateShadow:
      if (shadow_) shadow_->Create(this);
      return true;
    default:
      return false;
  }
}

void CPaintManagerUI::ProcessQueue() { DrainQueuedNotifications(); }

}  // namespace SkinUI
