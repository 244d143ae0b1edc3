// The framework's text-entry control. Windowless: it hosts the rich-edit
// text services through `CTxtWinHost`, feeds them the window's raw mouse
// and keyboard messages through a message filter, lets them draw into the
// window's paint bitmap, draws its own caret in a layered window, shows a
// tip text while empty and turns the services' notifications into
// framework notifications.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/containers/container_ui.h"
#include "ui/controls/message_filter.h"

namespace SkinUI {

class CTxtWinHost;

class CRichEditUI : public CContainerUI, public IMessageFilterUI {
 public:
  // The caret-blink timer of a layered window.
  static constexpr UINT kCaretTimer = 20;

  CRichEditUI();
  ~CRichEditUI() override;

  const wchar_t* ControlClass() const override { return L"RichEdit"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  UINT ControlFlags() const override { return IsEnabledUI() ? 3 : 0; }
  std::wstring ControlText() const override;
  void ChangeText(const std::wstring& text) override;
  void ChangeTextColor(uint32_t colour) override;
  void SwitchResources(int index) override;
  void Enable(bool enabled = true) override;
  void DoInitControl() override;
  void PlaceAt(RECT rect, bool invalidate = true) override;
  void MoveBy(int dx, int dy, bool invalidate = true) override;
  void HandleEvent(InputEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  bool DoPaintControl(HDC dc, const RECT& dirty, CControlUI* stopControl) override;
  void FillBackColour(HDC dc) override;
  void DrawStateImage(HDC dc) override;

  // The services' scroll bar reports (SB_HORZ or SB_VERT): the drawn bars
  // follow them, and a moved position sends "scroll".
  void ServicesScrollRange(int bar, int minimum, int maximum);
  void ServicesScrollPos(int bar, int position);

  // IMessageFilterUI: the window's messages that concern the text.
  LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

  // S_FALSE (1) without text services.
  virtual HRESULT SendToServices(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // The services' notifications.
  virtual void ServicesNotify(DWORD code, void* data);

  void SetFontId(int id);
  int FontId() const { return fontId_; }
  uint32_t TextColor() const { return textColour_; }
  DWORD Style() const { return style_; }
  bool WantsTab() const { return wantTab_; }
  bool IsRich() const { return rich_; }
  bool IsTransparent() const { return transparent_; }
  DWORD MaxChars() const { return maxChars_; }
  const std::wstring& TipValue() const { return tipValue_; }
  // Selects the whole text.
  void SelectAll();
  bool HasServices() const { return static_cast<bool>(host_); }
  // The rectangle the text lies in.
  RECT HostRect() const;
  // The stored text padding scaled again when both scaling flags are set.
  RECT EffectiveTextPadding() const;
  bool IsCaretBlinkOn() const { return caretBlinkOn_; }

 private:
  void ApplyStyleBit(DWORD bit, bool on);
  void ApplyAlign(const std::wstring& value);
  bool ServeMouse(UINT message, LPARAM lParam);
  void ShowContextMenu(LPARAM lParam);
  void OnCommand(WPARAM wParam);
  void BlinkCaret();
  RECT CaretRect() const;
  void DrawCaret(HDC dc);
  void DrawTip(HDC dc);
  void FixAlpha(HDC dc, const RECT& rect);
  void LayOutContent() override;
  void OnScrollBarMoved(bool horizontal, int position) override;
  // The drawn bars set to the services' content and position.
  void FitBarsToServices();
  void ScrollServicesTo(POINT position);

  Microsoft::WRL::ComPtr<CTxtWinHost> host_;
  bool initialised_ = false;
  DWORD style_ = 0x4;
  bool wantTab_ = true;
  bool wantReturn_ = true;
  bool wantCtrlReturn_ = true;
  bool transparent_ = true;
  bool rich_ = true;
  bool readOnly_ = false;
  uint32_t textColour_ = 0;
  uint32_t focusedBkColour_ = 0;
  uint32_t focusedTextColour_ = 0;
  int fontId_ = -1;
  DWORD maxChars_ = 0x7FFF;
  RECT textPadding_{};
  bool dpiTextPadding_ = false;
  UINT state_ = 0;
  bool caretBlinkOn_ = true;
  std::wstring normalImage_, hotImage_, focusedImage_, disabledImage_;
  std::wstring tipValue_;
  uint32_t tipColour_ = 0xFFBAC0C5;
  UINT tipStyle_ = DT_SINGLELINE;
  bool tipEndEllipsis_ = false;
  RECT tipPadding_{};
  bool focusShowTip_ = false;
  bool enabledAlpha_ = false;
  bool wantMenu_ = true;
  bool caretFollowTextColour_ = false;
  bool autoSelectAll_ = false;
  bool clickSelect_ = false;
  SIZE servicesContent_{};
  POINT servicesScroll_{};
  bool placedWithSize_ = false;
  std::vector<std::wstring> normalImageKeys_, hotImageKeys_, focusImageKeys_;
  std::vector<std::wstring> tipColourKeys_, focusedBkColourKeys_, focusedTextColourKeys_;
};

}  // namespace SkinUI
