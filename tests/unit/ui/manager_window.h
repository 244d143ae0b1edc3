// A hidden window whose messages go to a paint manager, and a tree built
// from markup text attached to it: the fixture of the manager's tests.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/building/layout_builder.h"
#include "ui/controls/control_ui.h"
#include "ui/host/paint_manager_ui.h"
#include "ui/render/gdiplus_session.h"

namespace SkinUI {

class ManagerWindow {
 public:
  ManagerWindow() {
    StartGdiplusOnce();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &ManagerWindow::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"NEBManagerTestWindow";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"manager test", WS_POPUP, 0, 0, 400, 300, nullptr,
                              nullptr, windowClass.hInstance, this);
    manager_.BindWindow(window_, L"test");
  }
  ~ManagerWindow() {
    if (window_) DestroyWindow(window_);
  }
  ManagerWindow(const ManagerWindow&) = delete;
  ManagerWindow& operator=(const ManagerWindow&) = delete;

  HWND Window() const { return window_; }
  CPaintManagerUI& Manager() { return manager_; }

  // Builds the markup text and makes it the window's tree; the root or none.
  CControlUI* Attach(const std::wstring& markup) {
    CLayoutBuilder builder;
    std::unique_ptr<CControlUI> built = builder.Build(markup, L"", nullptr, &manager_);
    CControlUI* root = built.get();
    if (root) manager_.AttachRoot(std::move(built));
    return root;
  }

  // Lays the tree out at the client size, as the first paint does.
  void Layout() {
    RECT client{};
    GetClientRect(window_, &client);
    manager_.Root()->PlaceAt(client, false);
  }

  // Runs the thread's messages until `done` answers true or the time is up.
  template <typename Done>
  bool PumpUntil(Done done, DWORD milliseconds = 5000) {
    const DWORD start = GetTickCount();
    while (!done()) {
      if (GetTickCount() - start > milliseconds) return false;
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!CPaintManagerUI::TranslateMessageUI(&message)) {
          TranslateMessage(&message);
          DispatchMessageW(&message);
        }
      }
      Sleep(5);
    }
    return true;
  }
  void PumpFor(DWORD milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<ManagerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (self && self->manager_.Window() == window &&
        self->manager_.HandleWindowMessage(message, wParam, lParam, result)) {
      return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  CPaintManagerUI manager_;
};

// Receives notifications as "type sender" lines, tagged with its own name.
class RecordingReceiver : public INotifyUI {
 public:
  RecordingReceiver(std::vector<std::wstring>& log, std::wstring tag) : log_(log), tag_(std::move(tag)) {}
  void OnNotify(NotifyRecord& record) override { log_.push_back(tag_ + L" " + record.type + L" " + record.senderName); }

 private:
  std::vector<std::wstring>& log_;
  std::wstring tag_;
};

}  // namespace SkinUI
