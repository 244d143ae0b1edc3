// What a control asks of the window that hosts its tree: the native window
// and its DC, the scale, invalidation and layout, focus and tab order,
// timers, message filters, the name map, option groups, styles and fonts,
// and the delivery of notifications. The window host implements it; the
// controls and containers see only this.
#pragma once

#include <windows.h>

#include <string>

#include "ui/controls/message_filter.h"
#include "ui/controls/option/option_groups.h"
#include "ui/dpi/dpi_scaler.h"
#include "ui/render/drawing_surface.h"

namespace SkinUI {

class CControlUI;

class IControlHost : public IPaintResources {
 public:
  // A focused control that answers this interface name (a rich edit that
  // wants Tab, a web view) keeps the Tab key.
  static constexpr const wchar_t* kWantsTabInterface = L"WantsTab";

  virtual HWND Window() const = 0;
  virtual HDC PaintDC() const = 0;

  int Scale() const { return Dpi().Scale(); }
  int ScaleValue(int n) const { return Dpi().ScaleValue(n); }

  virtual void Invalidate(const RECT& rect) = 0;
  virtual void NeedLayout() = 0;

  virtual const std::wstring* Style(const std::wstring& name) const = 0;
  virtual COptionGroups& OptionGroups() = 0;

  // Enters the names of the control and everything below it in the name map.
  virtual void RegisterNames(CControlUI* control) = 0;
  virtual CControlUI* LookupControl(const std::wstring& name) const = 0;
  // The topmost visible control at the point (client coordinates).
  virtual CControlUI* LookupControlAt(POINT point) const = 0;

  virtual void SetFocusControl(CControlUI* control) = 0;
  virtual void AddTabSupport(CControlUI* control) = 0;
  // Moves the focus to the next (or previous) tab stop, wrapping around.
  virtual bool NextTabControl(bool forward) = 0;
  // Forgets a control that leaves the window (focus, capture, hover, timers, tab order).
  virtual void ForgetControl(CControlUI* control) = 0;
  // Forgets the control and everything below it.
  virtual void ForgetSubtree(CControlUI* control) = 0;
  // Deletes the control once the queued notifications were delivered.
  virtual void QueueForDeletion(CControlUI* control) = 0;

  virtual bool StartTimer(CControlUI* control, UINT id, UINT periodMs) = 0;
  virtual bool StopTimer(CControlUI* control, UINT id) = 0;
  virtual void AddFilter(IMessageFilterUI* filter) = 0;
  virtual void RemoveFilter(IMessageFilterUI* filter) = 0;

  virtual void DispatchNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam, LPARAM lParam,
                              bool queued) = 0;

 protected:
  ~IControlHost() = default;
};

}  // namespace SkinUI
