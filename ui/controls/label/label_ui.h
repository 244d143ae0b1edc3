// Text with alignment, padding and self-measuring: the base of buttons,
// options, progress bars and text controls.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ui/controls/control_ui.h"

namespace SkinUI {

// The framework's own text-style bit: an ellipsis in the middle of the text.
constexpr UINT kTextStyleMidEllipsis = 0x80000000;

class CLabelUI : public CControlUI {
 public:
  CLabelUI() = default;

  const wchar_t* ControlClass() const override { return L"LabelUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  UINT ControlFlags() const override { return IsEnabledUI() ? 2 : 0; }
  void ChangeText(const std::wstring& text) override;
  void ChangeTextColor(uint32_t colour) override;
  void SwitchResources(int index) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  SIZE MeasureSize(SIZE available) override;
  void DrawLabelText(HDC dc) override;

  virtual bool IsAutoCalcWidth() const { return autoCalcWidth_; }
  virtual void SetAutoCalcWidth(bool on);
  virtual bool IsAutoCalcHeight() const { return autoCalcHeight_; }
  virtual void SetAutoCalcHeight(bool on);

  UINT TextStyle() const { return textStyle_; }
  void SetTextStyle(UINT style);
  int FontId() const { return fontId_; }
  void SetFontId(int id);
  // The window's default colours replace unset ones, for good, at the first paint.
  uint32_t TextColor();
  uint32_t DisabledTextColor();
  RECT UnscaledTextPadding() const { return textPadding_; }
  void SetTextPadding(const RECT& padding);
  // The text padding scaled as a rectangle; `always` ignores DPITextPadding.
  RECT TextPadding(bool always = false) const;
  // The item rectangle less the text padding.
  RECT TextArea(bool always = false) const;

 protected:
  // The font the size estimate measures with.
  virtual int MeasureFontId() const { return fontId_; }
  void RecomputeEstimate() { estimateStale_ = true; }
  // Draws the text in `rect` as the label does: tag text with "showhtml",
  // the shadow first with "shdowtext".
  void DrawTextIn(HDC dc, RECT rect, uint32_t colour, int fontId);
  bool IsShowHtml() const { return showHtml_; }
  // The link parts of the tag text as last drawn, in window coordinates.
  const std::vector<std::pair<int, RECT>>& LinkRects() const { return linkRects_; }
  // The link to draw in the window's hover colour (-1: none).
  void SetHotLink(int link);

 private:
  SIZE MeasureText(RECT bounds, UINT format);
  // One drawing of the text, tag text or plain, in one colour.
  void DrawTextOnce(HDC dc, RECT rect, uint32_t colour, int fontId, bool keepLinks);

  uint32_t textColour_ = 0;
  uint32_t disabledTextColour_ = 0;
  int fontId_ = -1;
  UINT textStyle_ = DT_SINGLELINE | DT_VCENTER;
  RECT textPadding_{};
  bool showHtml_ = false;
  bool richText_ = false;
  int richTextLineLimit_ = -1;
  bool autoCalcWidth_ = false;
  bool autoCalcHeight_ = false;
  bool shadowText_ = false;
  uint32_t shadowTextColour_ = 0xFF000000;
  float shadowRadius_ = 1.5f;
  float shadowRadius2_ = 1.5f;
  SIZE shadowOffset_{};
  std::vector<std::wstring> disabledTextColourKeys_;
  std::vector<std::pair<int, RECT>> linkRects_;
  int hotLink_ = -1;

  SIZE estimateAvailable_{};
  SIZE estimate_{};
  bool estimateStale_ = true;
};

}  // namespace SkinUI
