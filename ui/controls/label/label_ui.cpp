#include "ui/controls/label/label_ui.h"

#include <algorithm>
#include <cwchar>

#include "ui/geometry/rect_conversion.h"
#include "ui/markup/value_formats.h"
#include "ui/render/render_kit.h"
#include "ui/resources/resource_tables.h"

namespace SkinUI {

namespace {

constexpr int kMeasureLimit = 9999;

bool Contains(const std::wstring& text, const wchar_t* word) { return text.find(word) != std::wstring::npos; }

}  // namespace

void* CLabelUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, L"Label") == 0) return this;
  return CControlUI::QueryInterfaceUI(name);
}

void CLabelUI::ChangeText(const std::wstring& text) {
  CControlUI::ChangeText(text);
  if (autoCalcWidth_ || autoCalcHeight_) {
    estimateStale_ = true;
    NeedLayout();
  }
}

void CLabelUI::ChangeTextColor(uint32_t colour) {
  textColour_ = colour;
  Invalidate();
}

void CLabelUI::SwitchResources(int index) {
  ResourceTables::Get().SwitchColour(disabledTextColourKeys_, index, disabledTextColour_);
  CControlUI::SwitchResources(index);
}

void CLabelUI::SetAutoCalcWidth(bool on) {
  autoCalcWidth_ = on;
  estimateStale_ = true;
  NeedLayout();
}

void CLabelUI::SetAutoCalcHeight(bool on) {
  autoCalcHeight_ = on;
  estimateStale_ = true;
  NeedLayout();
}

void CLabelUI::SetTextStyle(UINT style) {
  textStyle_ = style;
  estimateStale_ = true;
  Invalidate();
}

void CLabelUI::SetFontId(int id) {
  fontId_ = id;
  estimateStale_ = true;
  Invalidate();
}

uint32_t CLabelUI::TextColor() {
  if (textColour_ == 0 && manager_) textColour_ = manager_->Attributes().defaultFontColour;
  return textColour_;
}

uint32_t CLabelUI::DisabledTextColor() {
  if (disabledTextColour_ == 0 && manager_) disabledTextColour_ = manager_->Attributes().disabledFontColour;
  return disabledTextColour_;
}

void CLabelUI::SetTextPadding(const RECT& padding) {
  textPadding_ = padding;
  estimateStale_ = true;
  NeedLayout();
}

RECT CLabelUI::TextPadding(bool always) const {
  if (!manager_ || !(always || IsScaleTextPadding())) return textPadding_;
  return ToRect(manager_->Dpi().ScaleRect(ToUiRect(textPadding_)));
}

RECT CLabelUI::TextArea(bool always) const {
  const RECT padding = TextPadding(always);
  return {item_.left + padding.left, item_.top + padding.top, item_.right - padding.right,
          item_.bottom - padding.bottom};
}

void CLabelUI::ApplyAttribute(const wchar_t* rawName, const wchar_t* rawValue) {
  const std::wstring name = rawName ? rawName : L"";
  const std::wstring value = rawValue ? rawValue : L"";
  const auto setBit = [this](UINT bit, bool on) { SetTextStyle(on ? (textStyle_ | bit) : (textStyle_ & ~bit)); };
  if (name == L"align") {
    UINT style = textStyle_;
    if (Contains(value, L"left")) style &= ~(DT_CENTER | DT_RIGHT);
    if (Contains(value, L"center")) style = (style & ~DT_RIGHT) | DT_CENTER;
    if (Contains(value, L"right")) style = (style & ~DT_CENTER) | DT_RIGHT;
    SetTextStyle(style);
  } else if (name == L"valign") {
    UINT style = textStyle_;
    if (Contains(value, L"top")) style = (style & ~(DT_BOTTOM | DT_VCENTER | DT_WORDBREAK)) | DT_SINGLELINE;
    if (Contains(value, L"vcenter")) style = (style & ~(DT_BOTTOM | DT_WORDBREAK)) | DT_VCENTER | DT_SINGLELINE;
    if (Contains(value, L"bottom")) style = (style & ~(DT_VCENTER | DT_WORDBREAK)) | DT_BOTTOM | DT_SINGLELINE;
    SetTextStyle(style);
  } else if (name == L"endellipsis") {
    setBit(DT_END_ELLIPSIS, ParseBool(value));
  } else if (name == L"midellipsis") {
    setBit(kTextStyleMidEllipsis, ParseBool(value));
  } else if (name == L"wordbreak") {
    SetTextStyle(ParseBool(value) ? ((textStyle_ & ~DT_SINGLELINE) | DT_WORDBREAK | DT_EDITCONTROL)
                                  : ((textStyle_ & ~(DT_WORDBREAK | DT_EDITCONTROL)) | DT_SINGLELINE));
  } else if (name == L"noprefix") {
    setBit(DT_NOPREFIX, ParseBool(value));
  } else if (name == L"font") {
    SetFontId(ParseInteger(value));
  } else if (name == L"textcolor") {
    ChangeTextColor(ParseColour(value));
  } else if (name == L"disabledtextcolor") {
    disabledTextColour_ = ParseColour(value);
    Invalidate();
  } else if (name == L"textpadding") {
    SetTextPadding(ToRect(ParseRect(value)));
  } else if (name == L"showhtml") {
    showHtml_ = ParseBool(value);
    estimateStale_ = true;
    Invalidate();
  } else if (name == L"autocalcwidth") {
    SetAutoCalcWidth(ParseBool(value));
  } else if (name == L"autocalcheight") {
    SetAutoCalcHeight(ParseBool(value));
  } else if (name == L"shdowtext") {
    shadowText_ = ParseBool(value);
  } else if (name == L"shdowtextcolor") {
    shadowTextColour_ = ParseColour(value);
  } else if (name == L"shdowtextr") {
    shadowRadius_ = static_cast<float>(std::wcstod(value.c_str(), nullptr));
  } else if (name == L"shdowtextr2") {
    shadowRadius2_ = static_cast<float>(std::wcstod(value.c_str(), nullptr));
  } else if (name == L"shdowtextoffset") {
    const UiSize offset = ParseSize(value);
    shadowOffset_ = {offset.cx, offset.cy};
  } else if (name == L"DisabledTextColorSwitchRes") {
    disabledTextColourKeys_ = ParseSwitchKeys(value);
  } else if (name == L"RichText") {
    richText_ = ParseBool(value);
    Invalidate();
  } else if (name == L"RichTextLineLimit") {
    const int limit = ParseInteger(value);
    if (limit != richTextLineLimit_) {
      richTextLineLimit_ = limit;
      NeedLayout();
    }
  } else {
    CControlUI::ApplyAttribute(rawName, rawValue);
  }
}

SIZE CLabelUI::MeasureText(RECT bounds, UINT format) {
  const CDrawingSurface surface{manager_ ? manager_->PaintDC() : nullptr, manager_};
  if (showHtml_) return CRenderKit::DrawTagText(surface, bounds, ControlText(), 0, MeasureFontId(), format, -1, true).size;
  CRenderKit::DrawTextUI(surface, bounds, ControlText(), 0, MeasureFontId(), format | DT_CALCRECT);
  return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

SIZE CLabelUI::MeasureSize(SIZE available) {
  const SIZE fixed = FixedSize();
  if (fixed.cx > 0 && fixed.cy > 0) return fixed;
  if (!estimateStale_ && available.cx == estimateAvailable_.cx && available.cy == estimateAvailable_.cy) {
    return estimate_;
  }
  SIZE size = fixed;
  const RECT padding = TextPadding();
  if (manager_ && (textStyle_ & DT_SINGLELINE) == 0) {
    const UINT format = textStyle_ & ~(DT_CENTER | DT_RIGHT);
    if (size.cx == 0 && autoCalcWidth_) {
      const SIZE measured = MeasureText({0, 0, available.cx, kMeasureLimit}, format);
      size.cx = measured.cx + (showHtml_ ? 4 : 0) + padding.left + padding.right;
    }
    // Without a width of its own the text is measured in the width the
    // layout offers, so wrapped text in a stretching column gets its height.
    const int width = size.cx > 0 ? size.cx : available.cx;
    if (size.cy == 0 && autoCalcHeight_ && width > 0) {
      const int textWidth = size.cx > 0 ? width : width - padding.left - padding.right;
      size.cy = MeasureText({0, 0, textWidth, kMeasureLimit}, format).cy + padding.top + padding.bottom;
    }
  } else if (manager_ && ((size.cy == 0 && autoCalcHeight_) || (size.cx == 0 && autoCalcWidth_))) {
    const FontEntry* font = manager_->FontInfoById(MeasureFontId());
    const int fontHeight = font ? font->metrics.tmHeight : 12;
    const SIZE measured = MeasureText({0, 0, kMeasureLimit, fontHeight + 8}, textStyle_);
    if (size.cy == 0 && autoCalcHeight_) size.cy = measured.cy + padding.top + padding.bottom;
    if (size.cx == 0 && autoCalcWidth_) size.cx = measured.cx + padding.left + padding.right;
  }
  estimate_ = size;
  estimateAvailable_ = available;
  estimateStale_ = false;
  return size;
}

void CLabelUI::SetHotLink(int link) {
  if (link == hotLink_) return;
  hotLink_ = link;
  Invalidate();
}

void CLabelUI::DrawTextOnce(HDC dc, RECT rect, uint32_t colour, int fontId, bool keepLinks) {
  if (showHtml_) {
    CRenderKit::TagTextPlaced placed =
        CRenderKit::DrawTagText({dc, manager_}, rect, ControlText(), colour, fontId, textStyle_, hotLink_, false);
    if (keepLinks) linkRects_ = std::move(placed.links);
    return;
  }
  // The framework's middle-ellipsis bit is the path ellipsis of DrawTextW.
  UINT format = textStyle_ & ~kTextStyleMidEllipsis;
  if (textStyle_ & kTextStyleMidEllipsis) format |= DT_PATH_ELLIPSIS;
  CRenderKit::DrawTextUI({dc, manager_}, rect, ControlText(), colour, fontId, format);
}

void CLabelUI::DrawTextIn(HDC dc, RECT rect, uint32_t colour, int fontId) {
  if (ControlText().empty()) {
    linkRects_.clear();
    return;
  }
  if (shadowText_) {
    // The shadow: the text in the shadow colour at the offset, spread by
    // the radius in whole pixels around it (a radius below 1 spreads nothing).
    const int spread = static_cast<int>(std::max(shadowRadius_, shadowRadius2_));
    const SIZE offset{manager_ ? manager_->ScaleValue(shadowOffset_.cx) : shadowOffset_.cx,
                      manager_ ? manager_->ScaleValue(shadowOffset_.cy) : shadowOffset_.cy};
    for (int dy = -spread; dy <= spread; ++dy) {
      for (int dx = -spread; dx <= spread; ++dx) {
        RECT shadow = rect;
        OffsetRect(&shadow, offset.cx + dx, offset.cy + dy);
        DrawTextOnce(dc, shadow, AdjustColour(shadowTextColour_), fontId, false);
      }
    }
  }
  DrawTextOnce(dc, rect, AdjustColour(colour), fontId, true);
}

void CLabelUI::DrawLabelText(HDC dc) {
  const RECT rect = TextArea();
  DrawTextIn(dc, rect, IsEnabledUI() ? TextColor() : DisabledTextColor(), fontId_);
}

}  // namespace SkinUI
