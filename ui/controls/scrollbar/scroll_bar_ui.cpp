#include "ui/controls/scrollbar/scroll_bar_ui.h"

#include <cwchar>

#include "ui/markup/value_formats.h"
#include "ui/render/render_kit.h"

namespace SkinUI {

namespace {

constexpr int kDefaultThickness = 10;
constexpr int kMinThumbLength = 16;

}  // namespace

void* CScrollBarUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, L"ScrollBar") == 0) return this;
  return CControlUI::QueryInterfaceUI(name);
}

void CScrollBarUI::SetHorizontal(bool on) {
  horizontal_ = on;
  NeedLayout();
}

int CScrollBarUI::Thickness() const {
  const int fixed = horizontal_ ? FixedHeight() : FixedWidth();
  if (fixed > 0) return fixed;
  return manager_ ? manager_->ScaleValue(kDefaultThickness) : kDefaultThickness;
}

void CScrollBarUI::SetRange(int content, int view) {
  if (content == content_ && view == view_) return;
  content_ = content;
  view_ = view;
  position_ = ClampScroll(position_, Range());
  Invalidate();
}

void CScrollBarUI::SetPosition(int position) {
  position = ClampScroll(position, Range());
  if (position == position_) return;
  position_ = position;
  Invalidate();
}

void CScrollBarUI::MoveTo(int position) {
  position = ClampScroll(position, Range());
  if (position == position_) return;
  position_ = position;
  Invalidate();
  if (onScrolled) onScrolled(position_);
}

int CScrollBarUI::TrackLength() const { return horizontal_ ? Width() : Height(); }

int CScrollBarUI::AlongTrack(POINT point) const {
  return horizontal_ ? point.x - item_.left : point.y - item_.top;
}

RECT CScrollBarUI::ThumbRect() const {
  const int minLength = manager_ ? manager_->ScaleValue(kMinThumbLength) : kMinThumbLength;
  const ThumbPlace thumb = PlaceThumb(TrackLength(), view_, content_, position_, minLength);
  if (horizontal_) return {item_.left + thumb.offset, item_.top, item_.left + thumb.offset + thumb.length, item_.bottom};
  return {item_.left, item_.top + thumb.offset, item_.right, item_.top + thumb.offset + thumb.length};
}

void CScrollBarUI::HandleEvent(InputEvent& event) {
  switch (event.kind) {
    case kEventButtonDown:
    case kEventDoubleClick: {
      if (!IsEnabledUI() || Range() == 0) return;
      const RECT thumb = ThumbRect();
      if (PtInRect(&thumb, event.mouse)) {
        dragging_ = true;
        dragStartPoint_ = AlongTrack(event.mouse);
        dragStartOffset_ = horizontal_ ? thumb.left - item_.left : thumb.top - item_.top;
        Invalidate();
        return;
      }
      // A click on the track moves one page towards the click.
      const bool before = horizontal_ ? event.mouse.x < thumb.left : event.mouse.y < thumb.top;
      MoveTo(ScrollAfter(before ? ScrollMove::kPageBack : ScrollMove::kPageForward, position_, Range(), view_, lineSize_));
      return;
    }
    case kEventMouseMove: {
      const RECT thumb = ThumbRect();
      const bool hot = PtInRect(&thumb, event.mouse) != FALSE;
      if (hot != thumbHot_) {
        thumbHot_ = hot;
        Invalidate();
      }
      if (!dragging_) return;
      const int offset = dragStartOffset_ + AlongTrack(event.mouse) - dragStartPoint_;
      const int length = horizontal_ ? thumb.right - thumb.left : thumb.bottom - thumb.top;
      MoveTo(ScrollForThumb(TrackLength(), length, Range(), offset));
      return;
    }
    case kEventButtonUp:
      dragging_ = false;
      Invalidate();
      return;
    case kEventMouseLeave:
      thumbHot_ = false;
      Invalidate();
      return;
    case kEventMouseEnter:
    case kEventSetFocus:
    case kEventKillFocus:
      return;
    default:
      CControlUI::HandleEvent(event);
  }
}

void CScrollBarUI::DrawForeImage(HDC dc) {
  CControlUI::DrawForeImage(dc);
  if (Range() == 0) return;
  const RECT thumb = ThumbRect();
  const std::wstring& image = dragging_ && !thumbPushedImage_.empty() ? thumbPushedImage_
                              : thumbHot_ && !thumbHotImage_.empty()  ? thumbHotImage_
                                                                      : thumbImage_;
  if (!image.empty() && CRenderKit::DrawImageString({dc, manager_}, thumb, paintRect_, image)) return;
  const uint32_t colour = dragging_ && thumbPushedColour_ ? thumbPushedColour_
                          : thumbHot_ && thumbHotColour_  ? thumbHotColour_
                                                          : thumbColour_;
  CRenderKit::DrawColor(dc, thumb, AdjustColour(colour), BkRound().cx, BkRound().cy);
}

void CScrollBarUI::ApplyAttribute(const wchar_t* rawName, const wchar_t* rawValue) {
  const std::wstring name = rawName ? rawName : L"";
  const std::wstring value = rawValue ? rawValue : L"";
  if (name == L"hor") SetHorizontal(ParseBool(value));
  else if (name == L"thumbcolor") thumbColour_ = ParseColour(value);
  else if (name == L"thumbhotcolor") thumbHotColour_ = ParseColour(value);
  else if (name == L"thumbpushedcolor") thumbPushedColour_ = ParseColour(value);
  else if (name == L"thumbimage") thumbImage_ = value;
  else if (name == L"thumbhotimage") thumbHotImage_ = value;
  else if (name == L"thumbpushedimage") thumbPushedImage_ = value;
  else CControlUI::ApplyAttribute(rawName, rawValue);
  Invalidate();
}

}  // namespace SkinUI
