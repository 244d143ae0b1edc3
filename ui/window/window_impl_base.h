// The base of every markup-driven window: at creation it binds a paint
// manager and builds the control tree from its skin file; it replaces the
// system frame with the skin's own (caption area for dragging, resize
// borders, rounded region, caption buttons, minimum and maximum size).
#pragma once

#include <windows.h>

#include <string>

#include "ui/building/dialog_builder_callback.h"
#include "ui/controls/message_filter.h"
#include "ui/host/notify_pump.h"
#include "ui/host/paint_manager_ui.h"
#include "ui/window/shadow_ui.h"
#include "ui/window/window_wnd.h"

namespace SkinUI {

class CLayoutBuilder;

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
 public:
  WindowImplBase() { manager_.SetShadow(&shadow_); }
  ~WindowImplBase() override = default;

  UINT ClassStyle() const override { return CS_DBLCLKS; }
  LRESULT RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void AfterWindowGone(HWND window) override;

  // INotifyUI: records with a sender go to the message maps.
  void OnNotify(NotifyRecord& record) override;
  // IMessageFilterUI: consumes nothing.
  LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  // IDialogBuilderCallback: no controls of its own.
  CControlUI* CreateCustomControl(const wchar_t* elementName) override;

  CPaintManagerUI& Manager() { return manager_; }
  // True when a press at the control drags the window: no control, or one
  // that is dynamic or not of a plain class (or below one), keeps the click.
  static bool IsCaptionPassThrough(const CControlUI* control);

 protected:
  virtual void PrepareResources() {}
  // The concrete window's initialisation, once the tree is attached.
  virtual void AfterSkinLoaded() {}
  // The skin could not be read or built: by default a message box, then the
  // process ends with exit code 1.
  virtual void SkinLoadFailed(const CLayoutBuilder& builder);
  virtual void OnCaptionButton(NotifyRecord& record);
  virtual void OnHeaderClick(NotifyRecord&) {}
  virtual void OnSelectChanged(NotifyRecord&) {}
  virtual void OnTextChanged(NotifyRecord&) {}
  virtual void OnItemSelect(NotifyRecord&) {}
  virtual void OnTimer(NotifyRecord&) {}
  // With a resource type the skin file is a decimal resource id of that type.
  virtual std::wstring SkinResourceType() const { return {}; }
  virtual std::wstring SkinFile() const = 0;
  virtual std::wstring ManagerName() const { return {}; }

  virtual LRESULT OnClose(UINT, WPARAM, LPARAM, bool& handled) { return NotHandled(handled); }
  virtual LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool& handled) { return NotHandled(handled); }
  virtual LRESULT OnNcActivate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcCalcSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcPaint(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  // Moved to a monitor of another DPI: the whole window takes the new scale
  // and the rectangle the system suggests for it.
  virtual LRESULT OnDpiChanged(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnOtherMessage(UINT, WPARAM, LPARAM, bool& handled) { return NotHandled(handled); }
  // The window's style for the skin's own frame: no system caption.
  virtual LONG FrameStyle() const;

  const MessageMap* NotifyMap() const override;

  static LRESULT NotHandled(bool& handled) {
    handled = false;
    return 0;
  }

  // The window's drop shadow, lent to its manager: declared first, so that it
  // outlives the manager that uses it.
  CShadowUI shadow_;
  CPaintManagerUI manager_;

 private:
  LRESULT HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  void SwapMaximiseButtons();
};

}  // namespace SkinUI
