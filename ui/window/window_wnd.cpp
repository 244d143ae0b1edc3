#include "ui/window/window_wnd.h"

#include "ui/host/paint_manager_ui.h"

namespace SkinUI {

namespace {

// Super-classed windows keep the object in a property: their own class may
// use the user data.
constexpr wchar_t kObjectProperty[] = L"WndX";

}  // namespace

void CWindowWnd::Show(bool show, bool takeFocus) {
  if (!IsWindow(window_)) return;
  ShowWindow(window_, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

LRESULT CWindowWnd::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(previousProc_, window_, message, wParam, lParam);
}

bool CWindowWnd::RegisterWindowClass() {
  WNDCLASSW windowClass{};
  windowClass.style = ClassStyle();
  windowClass.lpfnWndProc = &CWindowWnd::WindowProcedure;
  windowClass.hInstance = CPaintManagerUI::Instance();
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = WindowClassName();
  return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  if (!GetClassInfoExW(nullptr, SuperClassName(), &windowClass) &&
      !GetClassInfoExW(CPaintManagerUI::Instance(), SuperClassName(), &windowClass)) {
    return false;
  }
  previousProc_ = windowClass.lpfnWndProc;
  windowClass.lpfnWndProc = &CWindowWnd::SuperClassProcedure;
  windowClass.hInstance = CPaintManagerUI::Instance();
  windowClass.lpszClassName = WindowClassName();
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::OpenWindow(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y, int width,
                            int height, HMENU menu) {
  const bool superClass = SuperClassName() != nullptr && SuperClassName()[0] != 0;
  if (!(superClass ? RegisterSuperClass() : RegisterWindowClass())) return nullptr;
  window_ = CreateWindowExW(exStyle, WindowClassName(), title, style, x, y, width, height, parent, menu,
                            CPaintManagerUI::Instance(), this);
  return window_;
}

LRESULT CALLBACK CWindowWnd::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWindowWnd* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<CWindowWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  return Dispatch(self, window, message, wParam, lParam, false);
}

LRESULT CALLBACK CWindowWnd::SuperClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWindowWnd* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<CWindowWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetPropW(window, kObjectProperty, self);
  } else {
    self = static_cast<CWindowWnd*>(GetPropW(window, kObjectProperty));
  }
  return Dispatch(self, window, message, wParam, lParam, true);
}

LRESULT CWindowWnd::Dispatch(CWindowWnd* self, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             bool property) {
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message != WM_NCDESTROY) return self->RouteMessage(message, wParam, lParam);
  const LRESULT result = CallWindowProcW(self->previousProc_, window, message, wParam, lParam);
  if (property) RemovePropW(window, kObjectProperty);
  else SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  self->window_ = nullptr;
  self->AfterWindowGone(window);
  return result;
}

UINT CWindowWnd::RunModal() {
  if (!IsWindow(window_)) return static_cast<UINT>(-1);
  const HWND owner = GetWindow(window_, GW_OWNER);
  modal_ = true;
  Show(true, true);
  if (owner) EnableWindow(owner, FALSE);
  UINT code = 0;
  MSG message{};
  while (IsWindow(window_) && GetMessageW(&message, nullptr, 0, 0)) {
    if (message.hwnd == window_ && message.message == WM_CLOSE) {
      code = static_cast<UINT>(message.wParam);
      if (owner) {
        EnableWindow(owner, TRUE);
        SetFocus(owner);
      }
    }
    if (!CPaintManagerUI::TranslateMessageUI(&message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (owner) EnableWindow(owner, TRUE);
  modal_ = false;
  if (message.message == WM_QUIT) PostQuitMessage(static_cast<int>(message.wParam));
  return code;
}

void CWindowWnd::RequestClose(UINT code) {
  if (!IsWindow(window_)) return;
  if (modal_) {
    if (const HWND owner = GetWindow(window_, GW_OWNER)) {
      EnableWindow(owner, TRUE);
      SetFocus(owner);
    }
  }
  PostMessageW(window_, WM_CLOSE, code, 0);
}

void CWindowWnd::CenterOnOwner() {
  if (!IsWindow(window_)) return;
  RECT window{};
  GetWindowRect(window_, &window);
  const int width = window.right - window.left, height = window.bottom - window.top;
  const HWND owner = GetWindow(window_, GW_OWNER);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(owner ? owner : window_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  RECT area = work;
  if (owner && !IsIconic(owner)) {
    RECT ownerRect{}, overlap{};
    GetWindowRect(owner, &ownerRect);
    IntersectRect(&overlap, &ownerRect, &work);
    if (overlap.right - overlap.left >= 10 && overlap.bottom - overlap.top >= 10) area = ownerRect;
  }
  int left = (area.left + area.right) / 2 - width / 2;
  int top = (area.top + area.bottom) / 2 - height / 2;
  if (left < work.left) left = work.left;
  else if (left + width > work.right) left = work.right - width;
  if (top < work.top) top = work.top;
  else if (top + height > work.bottom) top = work.bottom - height;
  SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::ApplyIcon(UINT resourceId) {
  const auto roundUp = [](int n) { return (n + 15) / 16 * 16; };
  const int width = roundUp(GetSystemMetrics(SM_CXICON)), height = roundUp(GetSystemMetrics(SM_CYICON));
  const HINSTANCE module = CPaintManagerUI::Instance();
  const auto icon = static_cast<HICON>(
      LoadImageW(module, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, width, height, LR_DEFAULTCOLOR | LR_SHARED));
  if (icon == nullptr) return;
  SendToWindow(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendToWindow(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

LRESULT CWindowWnd::PostToWindow(UINT message, WPARAM wParam, LPARAM lParam) {
  return PostMessageW(window_, message, wParam, lParam);
}

LRESULT CWindowWnd::SendToWindow(UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(window_, message, wParam, lParam);
}

}  // namespace SkinUI
