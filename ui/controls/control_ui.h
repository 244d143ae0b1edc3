// The base of every element of a window's control tree: identity, size
// requests, state flags, look, the common markup attributes, the painting
// steps and the turning of input events into notifications.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ui/controls/control_host.h"
#include "ui/controls/delegate_list.h"
#include "ui/controls/input_event.h"
#include "ui/controls/notify_record.h"
#include "ui/geometry/ui_rect.h"

namespace SkinUI {

// Flags of FindControlBy.
enum FindFlags : UINT {
  kFindVisible = 0x1,
  kFindEnabled = 0x2,
  kFindHitTest = 0x4,
  kFindAll = 0x8,
  kFindTopFirst = 0x10,
  kFindMeFirst = 0x80000000,
};
using FindTest = CControlUI* (*)(CControlUI* control, void* data);

// Float alignment bits of the "floatalign" attribute.
enum FloatAlign : UINT {
  kFloatAlignCenter = 0x1,
  kFloatAlignRight = 0x2,
  kFloatAlignVCenter = 0x4,
  kFloatAlignBottom = 0x8,
};

class CControlUI {
 public:
  CControlUI();
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  virtual std::wstring ControlName() const { return name_; }
  virtual void ChangeName(const std::wstring& name) { name_ = name; }
  virtual const wchar_t* ControlClass() const { return L"ControlUI"; }
  virtual void* QueryInterfaceUI(const wchar_t* name);
  virtual UINT ControlFlags() const { return 0; }
  virtual bool CanActivate(bool rightButton);
  virtual IControlHost* OwnerManager() const { return manager_; }
  virtual void AttachManager(IControlHost* manager, CControlUI* parent, bool init);
  virtual CControlUI* ParentControl() const { return parent_; }
  virtual std::wstring ControlText() const { return text_; }
  virtual void ChangeText(const std::wstring& text);
  virtual void ChangeTextColor(uint32_t colour) { (void)colour; }
  virtual bool IsResourceText() const { return resourceText_; }
  virtual void SetResourceText(bool on);
  virtual bool IsDragEnabled() const { return drag_; }
  virtual void SetDragEnabled(bool on) { drag_ = on; }
  virtual bool IsDropEnabled() const { return drop_; }
  virtual void SetDropEnabled(bool on) { drop_ = on; }
  virtual void OnDragEnter();
  virtual void OnDragOver();
  virtual void OnDragLeave();
  virtual void OnDragEnd();
  virtual void OnDrop();
  virtual RECT RelativePos() const;
  virtual RECT ItemRect() const { return item_; }
  virtual const RECT& ItemRectRef() const { return item_; }
  virtual RECT ClientRect() const { return item_; }
  virtual void PlaceAt(RECT rect, bool invalidate = true);
  virtual void MoveBy(int dx, int dy, bool invalidate = true);
  virtual int Width() const { return item_.right - item_.left; }
  virtual int Height() const { return item_.bottom - item_.top; }
  virtual int Left() const { return item_.left; }
  virtual int Top() const { return item_.top; }
  virtual RECT Padding() const;
  virtual void SetPadding(const RECT& padding);
  virtual SIZE FixedXY() const;
  virtual void SetFixedXY(SIZE xy);
  virtual int FixedWidth() const;
  virtual void SetFixedWidth(int width);
  virtual int FixedHeight() const;
  virtual void SetFixedHeight(int height);
  virtual int MinWidth() const;
  virtual void SetMinWidth(int width);
  virtual int MaxWidth() const;
  virtual void SetMaxWidth(int width);
  virtual int MinHeight() const;
  virtual void SetMinHeight(int height);
  virtual int MaxHeight() const;
  virtual void SetMaxHeight(int height);
  struct FloatPercent {
    double left = 0, top = 0, right = 0, bottom = 0;
  };
  virtual FloatPercent FloatPercentage() const { return floatPercent_; }
  virtual void SetFloatPercentage(const FloatPercent& percent);
  virtual void SetFloatAlign(UINT align);
  virtual UINT FloatAlignment() const { return floatAlign_; }
  virtual bool IsScalePadding() const { return scalePadding_; }
  virtual void SetScalePadding(bool on);
  virtual void SetScaleTextPadding(bool on);
  virtual bool IsScaleTextPadding() const { return scaleTextPadding_; }
  virtual bool IsEnterLeaveResponse() const { return enterLeave_; }
  virtual void SetEnterLeaveResponse(bool on) { enterLeave_ = on; }
  virtual void SwitchResources(int index);
  virtual void SetDragMove(bool on) { dragMove_ = on; }
  virtual bool IsDragMove() const { return dragMove_; }
  virtual std::wstring ToolTip() const { return toolTip_; }
  virtual void SetToolTip(const std::wstring& text);
  virtual void SetToolTipWidth(int width) { toolTipWidth_ = width; }
  virtual int ToolTipWidth() const;
  virtual WORD Cursor() const { return cursor_; }
  virtual void SetCursor(WORD cursor) { cursor_ = cursor; }
  virtual wchar_t Shortcut() const { return shortcut_; }
  virtual void SetShortcut(wchar_t c) { shortcut_ = c; }
  virtual bool IsContextMenuUsed() const { return contextMenu_; }
  virtual void SetContextMenuUsed(bool on) { contextMenu_ = on; }
  virtual std::wstring UserData() const { return userData_; }
  virtual void SetUserData(const std::wstring& data) { userData_ = data; }
  virtual UINT_PTR ControlTag() const { return tag_; }
  virtual void ChangeTag(UINT_PTR tag) { tag_ = tag; }
  virtual bool IsShown() const { return visible_ && visibleByParent_; }
  virtual void Show(bool visible = true);
  virtual void SetVisibleByParent(bool visible);
  virtual bool IsEnabledUI() const { return enabled_; }
  virtual void Enable(bool enabled = true);
  virtual bool IsMouseEnabled() const { return mouseEnabled_; }
  virtual void SetMouseEnabled(bool on) { mouseEnabled_ = on; }
  virtual bool IsKeyboardEnabled() const { return keyboardEnabled_; }
  virtual void SetKeyboardEnabled(bool on) { keyboardEnabled_ = on; }
  virtual bool IsFocused() const { return focused_; }
  virtual void TakeFocus();
  virtual bool IsFloat() const { return float_; }
  virtual void SetFloat(bool on);
  virtual bool IsDynamic() const { return dynamic_; }
  virtual void SetDynamic(bool on) { dynamic_ = on; }
  virtual bool IsOwnVisible() const { return visible_; }
  virtual CControlUI* FindControlBy(FindTest test, void* data, UINT flags);
  virtual void InitControl();
  virtual void DoInitControl();
  virtual void RouteEvent(InputEvent& event);
  virtual void HandleEvent(InputEvent& event);
  virtual void ApplyAttribute(const wchar_t* name, const wchar_t* value);
  virtual SIZE MeasureSize(SIZE available);
  virtual SIZE FixedSize() const;
  virtual bool PaintControl(HDC dc, const RECT& dirty, CControlUI* stopControl);
  virtual bool DoPaintControl(HDC dc, const RECT& dirty, CControlUI* stopControl);
  virtual void FillBackColour(HDC dc);
  virtual void DrawBackImage(HDC dc);
  virtual void DrawStateImage(HDC dc);
  virtual void FillForeColour(HDC dc);
  virtual void DrawForeImage(HDC dc);
  virtual void DrawLabelText(HDC dc);
  virtual void DrawBorderLines(HDC dc);
  virtual void AfterPaint(HDC dc, const RECT& dirty);

  // Not virtual.
  void ApplyAttributeList(const std::wstring& list);
  void ChangeBkImage(const std::wstring& image);
  const std::wstring& BkImage() const { return bkImage_; }
  void ChangeForeImage(const std::wstring& image);
  const std::wstring& ForeImage() const { return foreImage_; }
  void ChangeBkColor(uint32_t colour);
  uint32_t BkColor() const { return bkColour_; }
  uint32_t BkColor2() const { return bkColour2_; }
  uint32_t BkColor3() const { return bkColour3_; }
  uint32_t ForeColor() const { return foreColour_; }
  uint32_t BorderColor() const { return borderColour_; }
  uint32_t FocusBorderColor() const { return focusBorderColour_; }
  int BorderSize() const;  // scaled
  RECT PerSideBorderSize() const { return sideBorders_; }
  int BorderStyle() const { return borderStyle_; }
  SIZE BorderRound() const;  // scaled
  SIZE BkRound() const;      // scaled
  const std::wstring& Gradient() const { return gradient_; }
  bool IsColourHsl() const { return colourHsl_; }
  const std::wstring& VirtualWindow() const { return virtualWindow_; }
  bool IsTabSupported() const { return tabSupport_; }
  bool NeedsUpdate() const { return needsUpdate_; }
  void SetNeedsUpdate() { needsUpdate_ = true; }
  const std::wstring* CustomAttribute(const std::wstring& name) const;
  const std::map<std::wstring, std::wstring>& CustomAttributes() const { return customAttributes_; }
  bool HorzPaddingCenter() const { return horzPaddingCenter_; }
  bool VertPaddingCenter() const { return vertPaddingCenter_; }

  void Invalidate();
  void NeedLayout();        // the parent (or this control without one) needs a layout
  void NeedOwnLayout();     // this control needs a layout
  bool StartTimer(UINT id, UINT periodMs);
  bool StopTimer(UINT id);
  CControlUI* LookupChild(const std::wstring& name);
  // Sends a notification from this control (nothing without a manager).
  void SendNotify(const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0, bool queued = false);
  // Draws an image string over the item rectangle; false when nothing was drawn.
  bool DrawImage(HDC dc, const std::wstring& image, const std::wstring& modifier = {});
  // The colour as the window's adjustment leaves it (unchanged without colour-HSL).
  uint32_t AdjustColour(uint32_t colour) const;
  // The switchable resource keys of one list.
  const std::vector<std::wstring>& BkImageSwitchKeys() const { return bkImageKeys_; }

  DelegateList<CControlUI*> onInit;
  DelegateList<CControlUI*> onSize;
  DelegateList<InputEvent&> onEvent;
  DelegateList<NotifyRecord&> onNotify;
  DelegateList<CControlUI*> onPaint;

 protected:
  // A rectangle of the window clipped by every ancestor's item rectangle.
  RECT ClipByAncestors(RECT rect) const;
  static std::vector<std::wstring> ParseSwitchKeys(const std::wstring& value);

  IControlHost* manager_ = nullptr;
  CControlUI* parent_ = nullptr;
  RECT item_{};
  RECT paintRect_{};
  bool needsUpdate_ = true;

 private:
  void ApplyPos(const std::wstring& value);
  void ApplyFloat(const std::wstring& value);
  void ApplyFloatAlign(const std::wstring& value);
  void ApplyBorderSize(const std::wstring& value);
  bool ApplyCursorName(const std::wstring& value);
  void ChangeSizeRequest(int& field, int value);

  std::map<std::wstring, std::wstring> customAttributes_;
  std::wstring name_;
  std::wstring text_;
  std::wstring toolTip_;
  int toolTipWidth_ = 300;
  std::wstring userData_;
  UINT_PTR tag_ = 0;
  wchar_t shortcut_ = 0;
  WORD cursor_ = 0;
  std::wstring virtualWindow_;
  bool resourceText_ = false;

  SIZE fixedXY_{};
  int fixedWidth_ = 0;
  int fixedHeight_ = 0;
  int minWidth_ = 0;
  int minHeight_ = 0;
  int maxWidth_ = 9999;
  int maxHeight_ = 9999;
  RECT padding_{};
  bool float_ = false;
  FloatPercent floatPercent_;
  UINT floatAlign_ = 0;
  bool horzPaddingCenter_ = false;
  bool vertPaddingCenter_ = false;
  bool scalePadding_ = true;
  bool scaleTextPadding_ = true;

  bool visible_ = true;
  bool visibleByParent_ = true;
  bool enabled_ = true;
  bool mouseEnabled_ = true;
  bool keyboardEnabled_ = true;
  bool focused_ = false;
  bool contextMenu_ = false;
  bool drag_ = false;
  bool drop_ = false;
  bool dragMove_ = false;
  bool tabSupport_ = false;
  bool enterLeave_ = false;
  bool dynamic_ = false;
  bool sizeDelegatesRunning_ = false;

  uint32_t bkColour_ = 0;
  uint32_t bkColour2_ = 0;
  uint32_t bkColour3_ = 0;
  std::wstring gradient_;
  bool colourHsl_ = false;
  SIZE bkRound_{};
  uint32_t foreColour_ = 0;
  uint32_t borderColour_ = 0;
  uint32_t focusBorderColour_ = 0;
  int borderSize_ = 0;
  RECT sideBorders_{};
  int borderStyle_ = 0;
  SIZE borderRound_{};
  std::wstring bkImage_;
  std::wstring foreImage_;

  std::vector<std::wstring> bkImageKeys_;
  std::vector<std::wstring> foreImageKeys_;
  std::vector<std::wstring> textColourKeys_;
  std::vector<std::wstring> bkColourKeys_;
};

}  // namespace SkinUI
