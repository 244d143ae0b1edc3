// The bridge between one native window and its control tree: the skin
// source and resource tables (pictures, parsed drawing strings, fonts, styles, default
// attribute lists), the window attributes and the scale, the tree with its
// name map, focus, capture, hover and tab order, control timers, the window
// messages turned into input events, the layout pass and the painting, the
// delivery of notifications, and the UI thread's message loop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unordered_map>

#include "ui/building/markup_host.h"
#include "ui/controls/input_event.h"
#include "ui/controls/message_filter.h"
#include "ui/controls/notify_record.h"
#include "ui/controls/option/option_groups.h"
#include "ui/dpi/dpi_scaler.h"
#include "ui/host/window_shadow.h"
#include "ui/markup/window_attributes.h"
#include "ui/render/image_drawing.h"
#include "ui/resources/font_entry.h"
#include "ui/resources/image_entry.h"
#include "ui/resources/offscreen_bitmap.h"

namespace SkinUI {

class CControlUI;

class CPaintManagerUI : public IMarkupHost {
 public:
  // Posted to the window to deliver queued notifications.
  static constexpr UINT kMsgQueuedNotify = 0x8001;
  // Posted to a layered window to paint what was invalidated: a layered
  // window is not shown, and gets no WM_PAINT, before its first update.
  static constexpr UINT kMsgLayeredPaint = 0x8002;
  // Posted by the first layout: the drop shadow is made once the first
  // paint has reached the screen, so that it does not delay that paint.
  static constexpr UINT kMsgCreateShadow = 0x8003;
  // Posted to the window after a scale change: wParam old, lParam new scale.
  static constexpr UINT kMsgScaleChanged = WM_USER + 2;
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
  // GetMessageW until WM_QUIT, with each manager's pre-translation.
  static void RunMessageLoop();
  // The pre-translation of one message by the managers it concerns; true
  // when the message was consumed and must not be dispatched.
  static bool TranslateMessageUI(const MSG* message);
  // Every bound manager of the process, in binding order.
  static const std::vector<CPaintManagerUI*>& Managers();
  // The DPI that `ApplyDpiToAll` last applied [96].
  static int ProcessDpi();
  // Applies the DPI to every window, then remembers it as the process DPI.
  static void ApplyDpiToAll(int dpi);

  // Binds the manager to its window: clears the name-bound tables and takes the client DC.
  void BindWindow(HWND window, const std::wstring& name);
  HWND Window() const override { return window_; }
  HDC PaintDC() const override { return paintDc_; }
  const std::wstring& Name() const { return name_; }

  // Rescales the window for a new DPI: pictures and fonts made again, the
  // window resized in proportion, the tree laid out again, "dpichanged" sent.
  void ApplyDpi(int dpi);
  CDpiScaler& Dpi() { return dpi_; }
  const CDpiScaler& Dpi() const override { return dpi_; }

  // Pictures: the window's map first, then the shared one; loaded on a miss.
  const ImageEntry* ObtainImage(const std::wstring& name, const std::wstring& resType = {}, uint32_t mask = 0,
                                bool useHsl = false, HMODULE module = nullptr) override;
  const ImageEntry* CacheImage(const std::wstring& name, const std::wstring& resType, uint32_t mask, bool useHsl,
                               bool shared, HMODULE module = nullptr) override;
  const ImageDrawing& ObtainDrawing(const std::wstring& drawString, const std::wstring& modifier) override;
  // Empties the parsed-drawing cache and the window's own pictures (a scale change).
  void DropScaledResources();

  HFONT DefineFont(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic,
                   bool shared) override;
  void DefineDefaultFont(const std::wstring& face, int size, bool bold, bool underline, bool italic,
                         bool shared) override;
  HFONT FontById(int id) const override;
  const FontEntry* FontInfoById(int id) const override;
  // Creates every font of the window, the shared ones and both default fonts again.
  void RecreateFonts();

  void AddDefaultAttributeList(const std::wstring& controlName, const std::wstring& list, bool shared) override;
  const std::wstring* DefaultAttributeList(const std::wstring& controlName) const override;
  void AddStyle(const std::wstring& name, const std::wstring& value, bool shared) override;
  const std::wstring* Style(const std::wstring& name) const override;

  void ApplyWindowAttribute(const std::wstring& name, const std::wstring& value) override;
  const WindowAttributes& Attributes() const override { return attributes_; }
  // Adjusts the pictures flagged use-HSL again from their unadjusted pixels
  // (the window's own and the shared ones, which follow the window that set
  // the adjustment last), and colours of "colorhsl" controls from now on.
  void SetHslAdjustment(const HslAdjustment& adjustment);
  bool IsLayered() const override { return attributes_.layered; }
  bool UsesSharedResources() const { return useSharedResources_; }
  void SetUseSharedResources(bool on) { useSharedResources_ = on; }

  CControlUI* Root() const { return root_; }
  // Makes a built tree the window's content, owned by the manager from now
  // on: the old root is queued for deletion, the new one attached with
  // initialisation and its names mapped.
  bool AttachRoot(CControlUI* root);
  bool AttachRoot(std::unique_ptr<CControlUI> root) { return AttachRoot(root.release()); }
  bool IsInTree(const CControlUI* control) const;
  void RegisterNames(CControlUI* control) override;
  CControlUI* LookupControl(const std::wstring& name) const override;
  CControlUI* LookupControlAt(POINT point) const override;
  // Every control under `root` (the window's root when none) of the class; "*" for all.
  std::vector<CControlUI*> CollectByClass(CControlUI* root, const std::wstring& className) const;

  void Invalidate(const RECT& rect) override;
  void NeedLayout() override;
  bool LayoutNeeded() const { return layoutNeeded_; }

  CControlUI* FocusControl() const { return focus_; }
  CControlUI* CapturedControl() const { return captured_; }
  CControlUI* HoverControl() const { return hover_; }
  void SetFocusControl(CControlUI* control) override;
  void AddTabSupport(CControlUI* control) override;
  const std::vector<CControlUI*>& TabSupportList() const { return tabSupport_; }
  bool NextTabControl(bool forward) override;
  void ForgetControl(CControlUI* control) override;
  void ForgetSubtree(CControlUI* control) override;
  void QueueForDeletion(CControlUI* control) override;

  void AddPreFilter(IMessageFilterUI* filter);
  void RemovePreFilter(IMessageFilterUI* filter);
  void AddFilter(IMessageFilterUI* filter) override;
  void RemoveFilter(IMessageFilterUI* filter) override;
  void AddTranslateAccelerator(ITranslateAccelerator* hook);
  void RemoveTranslateAccelerator(ITranslateAccelerator* hook);
  void AddPostPaint(CControlUI* control);
  void RemovePostPaint(CControlUI* control);
  // A native child window (an edit) that a layered window prints into its bitmap.
  void AddNativeChild(HWND child);

  // The window's own handling of a message before it is dispatched; true
  // when it was consumed.
  bool PreTranslate(const MSG& message);
  // The messages of the table that turn into events, layout and painting;
  // true when handled, with the answer in `result`.
  bool HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void SetLayeredMode(bool on);
  // Painting through the off-screen bitmap [on]; layered windows always do.
  void SetOffscreenPainting(bool on) { offscreenPainting_ = on; }

  bool StartTimer(CControlUI* control, UINT id, UINT periodMs) override;
  bool StopTimer(CControlUI* control, UINT id) override;
  // The control and its own id behind a native timer id, for WM_TIMER.
  CControlUI* TimerTarget(UINT_PTR nativeId, UINT& id) const;

  void AddReceiver(INotifyUI* receiver);
  void RemoveReceiver(INotifyUI* receiver);
  void DispatchNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam, LPARAM lParam, bool queued) override;
  // Delivers the queued notifications in order.
  void DrainQueuedNotifications();
  COptionGroups& OptionGroups() override { return optionGroups_; }
  // The drop shadow that the window owning this manager gives it; none
  // leaves the window without one.
  void SetShadow(IWindowShadow* shadow) { shadow_ = shadow; }
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
  static void AdjustPicture(ImageEntry& entry, const HslAdjustment& adjustment);

  void Deliver(NotifyRecord& record);
  void PostQueueMessage();
  static void JoinManagerList(CPaintManagerUI* manager);
  static void LeaveManagerList(CPaintManagerUI* manager);
  bool HandleFilters(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void ProcessQueue();
  void Paint();
  void LayoutPass(RECT client);
  bool PaintOffscreen(HDC target, RECT dirty);
  void PrintNativeChildren();
  void PushLayered(const RECT& dirty);
  // The markup's whole-window opacity: through the system for a window
  // painted normally, in the blend of each update for a layered one.
  void ApplyWindowOpacity();
  InputEvent MakeEvent(int kind, CControlUI* sender, WPARAM wParam, LPARAM lParam) const;
  void Route(CControlUI* control, int kind, WPARAM wParam = 0, LPARAM lParam = 0);
  void OnMouseMove(POINT point, WPARAM wParam, LPARAM lParam);
  void OnButtonDown(int kind, POINT point, WPARAM wParam, LPARAM lParam);
  void OnButtonUp(int kind, WPARAM wParam, LPARAM lParam);
  void OnMouseHover(POINT point, WPARAM wParam, LPARAM lParam);
  void OnMouseLeave();
  bool OnSetCursor(WPARAM wParam, LPARAM lParam);
  void OnGetMinMaxInfo(MINMAXINFO* info) const;
  bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void TrackMouse();
  void ShowToolTip(CControlUI* control);
  void CycleTabSupport();
  bool ActivateShortcut(wchar_t key);

  HWND window_ = nullptr;
  HDC paintDc_ = nullptr;
  std::wstring name_;
  CDpiScaler dpi_;
  WindowAttributes attributes_;
  bool useSharedResources_ = false;

  ImageMap images_;
  std::map<std::wstring, std::unique_ptr<ImageDrawing>> drawings_;
  FontMap fonts_;
  std::unique_ptr<FontEntry> defaultFont_;
  TextMap defaultAttributeLists_;
  TextMap styles_;

  CControlUI* root_ = nullptr;
  CControlUI* focus_ = nullptr;
  CControlUI* captured_ = nullptr;
  CControlUI* hover_ = nullptr;
  CControlUI* keyDown_ = nullptr;
  std::unordered_map<std::wstring, CControlUI*> names_;
  std::vector<CControlUI*> tabSupport_;
  int tabIndex_ = -1;
  bool layoutNeeded_ = true;
  bool firstLayout_ = true;
  bool focusNeeded_ = false;
  bool mouseTracking_ = false;
  POINT pressPoint_{};
  bool dragBegun_ = false;
  HWND toolTip_ = nullptr;
  CControlUI* toolTipControl_ = nullptr;
  std::vector<IMessageFilterUI*> preFilters_;
  std::vector<IMessageFilterUI*> filters_;
  std::vector<ITranslateAccelerator*> accelerators_;
  std::vector<CControlUI*> postPaint_;
  std::vector<HWND> nativeChildren_;
  std::vector<CControlUI*> deleteQueue_;
  COffscreenBitmap offscreen_;
  RECT layeredDirty_{};
  bool offscreenPainting_ = true;
  bool layeredPaintPosted_ = false;
  std::vector<TimerRecord> timers_;
  UINT_PTR timerCounter_ = 4096;
  std::vector<INotifyUI*> receivers_;
  std::deque<NotifyRecord> queued_;
  bool queuePosted_ = false;
  POINT lastMouse_{};
  COptionGroups optionGroups_;
  IWindowShadow* shadow_ = nullptr;
};

}  // namespace SkinUI
