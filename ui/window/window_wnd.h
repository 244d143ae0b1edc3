// One native window: class registration, creation, message routing to a
// virtual handler, showing, closing and centring.
#pragma once

#include <windows.h>

namespace SkinUI {

class CWindowWnd {
 public:
  CWindowWnd() = default;
  virtual ~CWindowWnd() = default;
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  virtual void Show(bool show = true, bool takeFocus = true);
  virtual const wchar_t* WindowClassName() const = 0;
  // A system class to copy (its procedure keeps the default handling); none by default.
  virtual const wchar_t* SuperClassName() const { return nullptr; }
  virtual UINT ClassStyle() const { return 0; }
  virtual LRESULT RouteMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // After WM_NCDESTROY: the handle is gone.
  virtual void AfterWindowGone(HWND window) { (void)window; }

  HWND Window() const { return window_; }
  // Registers the class and creates the window; none on failure.
  HWND OpenWindow(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                  int y = CW_USEDEFAULT, int width = CW_USEDEFAULT, int height = CW_USEDEFAULT, HMENU menu = nullptr);
  // Runs the window modally over its owner until it closes; the close code.
  UINT RunModal();
  // A modal window gives its owner back the input first; WM_CLOSE is posted.
  void RequestClose(UINT code = IDOK);
  void CenterOnOwner();
  void ApplyIcon(UINT resourceId);
  LRESULT PostToWindow(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendToWindow(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

 protected:
  WNDPROC PreviousProcedure() const { return previousProc_; }

 private:
  bool RegisterWindowClass();
  bool RegisterSuperClass();
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SuperClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT Dispatch(CWindowWnd* self, HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool property);

  HWND window_ = nullptr;
  WNDPROC previousProc_ = DefWindowProcW;
  bool modal_ = false;
};

}  // namespace SkinUI
