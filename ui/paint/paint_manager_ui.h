// The bridge between one native window and its control tree. This part holds
// what the controls and the markup builder rely on: the skin source, the
// resource tables (pictures, draw specs, fonts, styles, default attribute
// lists), the window attributes, the scale, invalidation, focus, timers and
// the delivery of notifications.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/dpi/dpi_scaler.h"
#include "ui/paint/notify_record.h"
#include "ui/paint/window_attributes.h"
#include "ui/render/image_draw_spec.h"
#include "ui/resources/font_entry.h"
#include "ui/resources/image_entry.h"

namespace SkinUI {

class CControlUI;

class CPaintManagerUI {
 public:
  // Posted to the window to deliver queued notifications.
  static constexpr UINT kMsgQueuedNotify = 0x8001;

  CPaintManagerUI();
  ~CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

  // The process-wide skin source.
  static void SetInstance(HINSTANCE instance);
  static HINSTANCE Instance();
  static void SetResourcePath(const std::wstring& folder);
  static void SetResourceZip(const std::wstring& name, bool cached, const std::wstring& password);
  static void UseSkinZipInMemory(const void* data, size_t size, const std::wstring& password);
  static bool SkinHasEntry(const std::wstring& name);
  // Frees the shared tables and closes the cached archive.
  static void ShutdownFramework();

  // Binds the manager to its window: clears the name-bound tables and takes the client DC.
  void BindWindow(HWND window, const std::wstring& name);
  HWND Window() const { return window_; }
  HDC PaintDC() const { return paintDc_; }
  const std::wstring& Name() const { return name_; }

  CDpiScaler& Dpi() { return dpi_; }
  const CDpiScaler& Dpi() const { return dpi_; }
  int Scale() const { return dpi_.Scale(); }
  int ScaleValue(int n) const { return dpi_.ScaleValue(n); }

  // Pictures: the window's map first, then the shared one; loaded on a miss.
  const ImageEntry* ObtainImage(const std::wstring& name, const std::wstring& resType = {}, uint32_t mask = 0,
                                bool useHsl = false, HMODULE module = nullptr);
  const ImageEntry* CacheImage(const std::wstring& name, const std::wstring& resType, uint32_t mask, bool useHsl,
                               bool shared, HMODULE module = nullptr);
  const ImageDrawSpec& ObtainDrawSpec(const std::wstring& drawString, const std::wstring& modifier);
  // Empties the draw-spec cache and the window's own pictures (a scale change).
  void DropScaledResources();

  HFONT DefineFont(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic, bool shared);
  void DefineDefaultFont(const std::wstring& face, int size, bool bold, bool underline, bool italic, bool shared);
  HFONT FontById(int id) const;
  // The entry behind FontById; none when the system's default GUI font answers.
  const FontEntry* FontInfoById(int id) const;
  // Creates every font of the window, the shared ones and both default fonts again.
  void RecreateFonts();

  void AddDefaultAttributeList(const std::wstring& controlName, const std::wstring& list, bool shared);
  const std::wstring* DefaultAttributeList(const std::wstring& controlName) const;
  void AddStyle(const std::wstring& name, const std::wstring& value, bool shared);
  const std::wstring* Style(const std::wstring& name) const;

  // A `Window` attribute of the markup; unknown names are ignored.
  void ApplyWindowAttribute(const std::wstring& name, const std::wstring& value);
  const WindowAttributes& Attributes() const { return attributes_; }
  bool IsLayered() const { return attributes_.layered; }
  bool UsesSharedResources() const { return useSharedResources_; }
  void SetUseSharedResources(bool on) { useSharedResources_ = on; }

  CControlUI* Root() const { return root_; }
  // Makes `root` the tree whose membership notifications check (the full
  // attachment of a tree belongs to the window).
  void SetRoot(CControlUI* root) { root_ = root; }
  bool IsInTree(const CControlUI* control) const;

  void Invalidate(const RECT& rect);
  void NeedLayout();
  bool LayoutNeeded() const { return layoutNeeded_; }

  CControlUI* FocusControl() const { return focus_; }
  void SetFocusControl(CControlUI* control);
  void AddTabSupport(CControlUI* control);
  const std::vector<CControlUI*>& TabSupportList() const { return tabSupport_; }
  // Forgets a control that leaves the window (focus, timers, tab order).
  void ForgetControl(CControlUI* control);

  bool StartTimer(CControlUI* control, UINT id, UINT periodMs);
  bool StopTimer(CControlUI* control, UINT id);
  // The control and its own id behind a native timer id, for WM_TIMER.
  CControlUI* TimerTarget(UINT_PTR nativeId, UINT& id) const;

  void AddReceiver(INotifyUI* receiver);
  void RemoveReceiver(INotifyUI* receiver);
  void DispatchNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam, LPARAM lParam, bool queued);
  // Delivers the queued notifications in order.
  void DrainQueuedNotifications();
  POINT LastMousePosition() const { return lastMouse_; }
  void SetLastMousePosition(POINT point) { lastMouse_ = point; }

 private:
  struct TimerRecord {
    CControlUI* control;
    UINT id;
    UINT_PTR nativeId;
    bool killed;
  };
  using ImageMap = std::map<std::wstring, std::unique_ptr<ImageEntry>>;
  using FontMap = std::map<std::wstring, std::unique_ptr<FontEntry>>;
  using TextMap = std::map<std::wstring, std::wstring>;
  struct SharedTables;
  static SharedTables& Shared();

  void Deliver(NotifyRecord& record);

  HWND window_ = nullptr;
  HDC paintDc_ = nullptr;
  std::wstring name_;
  CDpiScaler dpi_;
  WindowAttributes attributes_;
  bool useSharedResources_ = false;

  ImageMap images_;
  std::map<std::wstring, std::unique_ptr<ImageDrawSpec>> drawSpecs_;
  FontMap fonts_;
  std::unique_ptr<FontEntry> defaultFont_;
  TextMap defaultAttributeLists_;
  TextMap styles_;

  CControlUI* root_ = nullptr;
  CControlUI* focus_ = nullptr;
  std::vector<CControlUI*> tabSupport_;
  bool layoutNeeded_ = true;
  std::vector<TimerRecord> timers_;
  UINT_PTR timerCounter_ = 4096;
  std::vector<INotifyUI*> receivers_;
  std::deque<NotifyRecord> queued_;
  bool queuePosted_ = false;
  POINT lastMouse_{};
};

}  // namespace SkinUI
