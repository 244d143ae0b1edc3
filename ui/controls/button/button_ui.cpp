#include "ui/controls/button/button_ui.h"

#include <cwchar>

#include "ui/controls/page_switcher.h"
#include "ui/markup/value_formats.h"
#include "ui/render/render_kit.h"
#include "ui/resources/resource_tables.h"
#include "ui/controls/notify_kinds.h"
#include "base/format_text.h"

namespace SkinUI {

namespace {

bool IsMouseEvent(int kind) { return kind >= kEventMouseMove && kind <= kEventDragMoveEnd; }

std::wstring FormatStrip(const std::wstring& name, const std::wstring& resType, const UiRect& dest, int left,
                         int right, int height) {
  return FormatText(L"res='%ls' restype='%ls' dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", name.c_str(),
                    resType.c_str(), dest.left, dest.top, dest.right, dest.bottom, left, 0, right, height);
}

}  // namespace

CButtonUI::CButtonUI() { SetTextStyle(DT_SINGLELINE | DT_VCENTER | DT_CENTER); }

void* CButtonUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, L"Button") == 0) return this;
  return CLabelUI::QueryInterfaceUI(name);
}

UINT CButtonUI::ControlFlags() const {
  if (!IsEnabledUI()) return 0;
  return 2 | (IsKeyboardEnabled() ? 1 : 0);
}

bool CButtonUI::CanActivate(bool rightButton) {
  if (!CControlUI::CanActivate(rightButton)) return false;
  SendNotify(rightButton ? kNotifyRightClick : kNotifyClick);
  SelectBoundPage();
  return true;
}

void CButtonUI::SelectBoundPage() {
  if (!manager_ || bindLayoutName_.empty() || (bindPageIndex_ < 0 && bindPageName_.empty())) return;
  CControlUI* bound = manager_->LookupControl(bindLayoutName_);
  auto* layout =
      bound ? static_cast<IPageSwitcherUI*>(bound->QueryInterfaceUI(IPageSwitcherUI::kInterfaceName)) : nullptr;
  if (layout == nullptr) return;
  if (bindPageIndex_ >= 0) {
    layout->PickPage(bindPageIndex_);
  } else if (CControlUI* page = bound->LookupChild(bindPageName_)) {
    layout->PickPage(page);
  }
}

void CButtonUI::Enable(bool enabled) {
  CLabelUI::Enable(enabled);
  state_ = enabled ? 0u : static_cast<UINT>(kStateDisabled);
}

void CButtonUI::SwitchResources(int index) {
  const ResourceTables& tables = ResourceTables::Get();
  if (const std::wstring* image = tables.ImageAt(normalImageKeys_, index)) SetNormalImage(*image);
  if (const std::wstring* image = tables.ImageAt(hotImageKeys_, index)) SetHotImage(*image);
  if (const std::wstring* image = tables.ImageAt(pushedImageKeys_, index)) SetPushedImage(*image);
  if (const std::wstring* image = tables.ImageAt(disabledImageKeys_, index)) SetDisabledImage(*image);
  tables.SwitchColour(hotTextColourKeys_, index, hotTextColour_);
  tables.SwitchColour(pushedTextColourKeys_, index, pushedTextColour_);
  CLabelUI::SwitchResources(index);
}

void CButtonUI::HandleEvent(InputEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.kind)) {
    if (parent_) parent_->HandleEvent(event);
    else CLabelUI::HandleEvent(event);
    return;
  }
  const bool inside = PtInRect(&item_, event.mouse) != FALSE;
  switch (event.kind) {
    case kEventKeyDown:
      if (IsKeyboardEnabled() && keyboardActive_ && (event.key == VK_SPACE || event.key == VK_RETURN)) {
        CanActivate(false);
        SendNotify(kNotifyKeyDown, event.wParam, event.lParam);
        return;
      }
      break;
    case kEventMouseMove:
      if (state_ & kStateCaptured) {
        state_ = inside ? (state_ | kStatePushed) : (state_ & ~kStatePushed);
        Invalidate();
        SendNotify(kNotifyMouseMove, event.wParam, event.lParam);
        return;
      }
      break;
    case kEventMouseLeave:
      if (IsEnabledUI()) {
        state_ &= ~kStateHot;
        Invalidate();
        SendNotify(kNotifyMouseLeave, event.wParam, event.lParam);
      }
      break;
    case kEventMouseEnter:
      if (IsEnabledUI()) {
        state_ |= kStateHot;
        Invalidate();
        SendNotify(kNotifyMouseEnter, event.wParam, event.lParam);
      }
      break;
    case kEventButtonDown:
    case kEventDoubleClick:
    case kEventRButtonDown:
      if (inside && IsEnabledUI()) {
        state_ |= kStatePushed | kStateCaptured;
        Invalidate();
        SendNotify(event.kind == kEventButtonDown ? L"buttondown"
                   : event.kind == kEventDoubleClick ? L"dbclick"
                                                     : L"rbuttondown");
      }
      return;
    case kEventButtonUp:
    case kEventRButtonUp:
      if (state_ & kStateCaptured) {
        const bool right = event.kind == kEventRButtonUp;
        state_ &= ~(kStatePushed | kStateCaptured);
        Invalidate();
        SendNotify(right ? L"rbuttonup" : L"buttonup");
        if (inside) CanActivate(right);
      }
      return;
    case kEventContextMenu:
      if (IsContextMenuUsed()) {
        SendNotify(kNotifyMenu, event.wParam, event.lParam);
        return;
      }
      break;
    case kEventSetFocus:
    case kEventKillFocus:
      Invalidate();
      break;
    default:
      break;
  }
  CLabelUI::HandleEvent(event);
}

void CButtonUI::ApplyAttribute(const wchar_t* rawName, const wchar_t* rawValue) {
  const std::wstring name = rawName ? rawName : L"";
  const std::wstring value = rawValue ? rawValue : L"";
  const auto colour = [&] { return ParseColour(value); };
  if (name == L"normalimage") SetNormalImage(value);
  else if (name == L"hotimage") SetHotImage(value);
  else if (name == L"pushedimage") SetPushedImage(value);
  else if (name == L"focusedimage") SetFocusedImage(value);
  else if (name == L"disabledimage") SetDisabledImage(value);
  else if (name == L"hotforeimage") SetHotForeImage(value);
  else if (name == L"pushedforeimage") SetPushedForeImage(value);
  else if (name == L"stateimage") SetStateImage(value);
  else if (name == L"statecount") { stateCount_ = ParseInteger(value); Invalidate(); }
  else if (name == L"bindtabindex") { if (ParseInteger(value) >= 0) bindPageIndex_ = ParseInteger(value); }
  else if (name == L"bindtablayoutname") { if (!value.empty()) bindLayoutName_ = value; }
  else if (name == L"hotbkcolor") { hotBkColour_ = colour(); Invalidate(); }
  else if (name == L"pushedbkcolor") { pushedBkColour_ = colour(); Invalidate(); }
  else if (name == L"disabledbkcolor") { disabledBkColour_ = colour(); Invalidate(); }
  else if (name == L"hottextcolor") { hotTextColour_ = colour(); Invalidate(); }
  else if (name == L"pushedtextcolor") { pushedTextColour_ = colour(); Invalidate(); }
  else if (name == L"focusedtextcolor") { focusedTextColour_ = colour(); Invalidate(); }
  else if (name == L"hotfont") { hotFont_ = ParseInteger(value); Invalidate(); }
  else if (name == L"pushedfont") { pushedFont_ = ParseInteger(value); Invalidate(); }
  else if (name == L"focuedfont") { focusedFont_ = ParseInteger(value); Invalidate(); }
  else if (name == L"NormalImageSwitchRes") normalImageKeys_ = ParseSwitchKeys(value);
  else if (name == L"HotImageSwitchRes") hotImageKeys_ = ParseSwitchKeys(value);
  else if (name == L"PushedImageSwitchRes") pushedImageKeys_ = ParseSwitchKeys(value);
  else if (name == L"DisabledImageSwitchRes") disabledImageKeys_ = ParseSwitchKeys(value);
  else if (name == L"HotTextColorSwitchRes") hotTextColourKeys_ = ParseSwitchKeys(value);
  else if (name == L"PushedTextColorSwitchRes") pushedTextColourKeys_ = ParseSwitchKeys(value);
  else if (name == L"KeyboardActive") keyboardActive_ = ParseBool(value);
  else CLabelUI::ApplyAttribute(rawName, rawValue);
}

void CButtonUI::ChangeImage(std::wstring& field, const std::wstring& image) {
  field = image;
  Invalidate();
}

void CButtonUI::SetNormalImage(const std::wstring& image) { ChangeImage(normalImage_, image); }
void CButtonUI::SetHotImage(const std::wstring& image) { ChangeImage(hotImage_, image); }
void CButtonUI::SetPushedImage(const std::wstring& image) { ChangeImage(pushedImage_, image); }
void CButtonUI::SetFocusedImage(const std::wstring& image) { ChangeImage(focusedImage_, image); }
void CButtonUI::SetDisabledImage(const std::wstring& image) { ChangeImage(disabledImage_, image); }
void CButtonUI::SetHotForeImage(const std::wstring& image) { ChangeImage(hotForeImage_, image); }
void CButtonUI::SetPushedForeImage(const std::wstring& image) { ChangeImage(pushedForeImage_, image); }

void CButtonUI::SetStateImage(const std::wstring& image) {
  stateImage_ = image;
  normalImage_.clear();
  Invalidate();
}

void CButtonUI::FillBackColour(HDC dc) {
  uint32_t colour = 0;
  if (state_ & kStateDisabled) colour = disabledBkColour_;
  else if (state_ & kStatePushed) colour = pushedBkColour_;
  else if (state_ & kStateHot) colour = hotBkColour_;
  if (colour == 0) {
    CLabelUI::FillBackColour(dc);
    return;
  }
  const SIZE round = BkRound();
  CRenderKit::DrawColor(dc, paintRect_, AdjustColour(colour), round.cx, round.cy);
}

std::vector<std::wstring> CButtonUI::StateStrips(const std::wstring& stateImage, int count) {
  std::vector<std::wstring> strips;
  if (!manager_ || stateImage.empty() || count <= 0) return strips;
  const ImageDrawing& drawing = manager_->ObtainDrawing(stateImage, L"");
  const ImageEntry* picture = manager_->ObtainImage(drawing.name, drawing.resType, drawing.mask);
  if (picture == nullptr || picture->width <= 0 || picture->height <= 0) return strips;
  // The strings are scaled again when drawn: the destination, and the
  // source of a picture made for the scale, are written at 100 %.
  const CDpiScaler& dpi = manager_->Dpi();
  const auto unscaled = [&dpi](int n) { return dpi.UnscaleValue(n); };
  const int pictureWidth = drawing.dpiPicture ? unscaled(picture->width) : picture->width;
  const int pictureHeight = drawing.dpiPicture ? unscaled(picture->height) : picture->height;
  const int width = pictureWidth / count;
  const UiRect dest{unscaled(drawing.dest.left), unscaled(drawing.dest.top), unscaled(drawing.dest.right),
                    unscaled(drawing.dest.bottom)};
  for (int n = 0; n < count; ++n) {
    strips.push_back(FormatStrip(drawing.name, drawing.resType, dest, n * width, (n + 1) * width, pictureHeight));
  }
  return strips;
}

void CButtonUI::RefreshStateBits() {
  if (IsFocused()) state_ |= kStateFocused;
  else state_ &= ~kStateFocused;
  if (IsEnabledUI()) state_ &= ~kStateDisabled;
  else state_ |= kStateDisabled;
  // Behind a message box the window is disabled: no hot or pushed look.
  if (manager_ && !IsWindowEnabled(manager_->Window())) state_ &= kStateDisabled;
}

bool CButtonUI::DrawIfSet(HDC dc, const std::wstring& image) { return !image.empty() && DrawImage(dc, image); }

void CButtonUI::DrawStateImage(HDC dc) {
  if (!stateImage_.empty() && stateCount_ > 0 && normalImage_.empty()) {
    const std::vector<std::wstring> strips = StateStrips(stateImage_, stateCount_);
    if (!strips.empty()) {
      normalImage_ = strips[0];
      if (strips.size() > 1) hotImage_ = pushedImage_ = strips[1];
      if (strips.size() > 2) pushedImage_ = strips[2];
      if (strips.size() > 3) disabledImage_ = strips[3];
    }
  }
  RefreshStateBits();
  const std::wstring* chosen = nullptr;
  if (state_ & kStateDisabled) chosen = &disabledImage_;
  else if (state_ & kStatePushed) chosen = &pushedImage_;
  else if (state_ & kStateHot) chosen = &hotImage_;
  else if (state_ & kStateFocused) chosen = &focusedImage_;
  if (chosen && DrawIfSet(dc, *chosen)) return;
  DrawIfSet(dc, normalImage_);
}

void CButtonUI::DrawForeImage(HDC dc) {
  if ((state_ & kStatePushed) && !pushedForeImage_.empty()) {
    if (DrawImage(dc, pushedForeImage_)) return;
  } else if ((state_ & kStateHot) && DrawIfSet(dc, hotForeImage_)) {
    return;
  }
  CLabelUI::DrawForeImage(dc);
}

void CButtonUI::DrawLabelText(HDC dc) {
  uint32_t colour;
  if ((state_ & kStatePushed) && pushedTextColour_ != 0) colour = pushedTextColour_;
  else if ((state_ & kStateHot) && hotTextColour_ != 0) colour = hotTextColour_;
  else {
    colour = IsEnabledUI() ? TextColor() : DisabledTextColor();
    if (IsFocused() && focusedTextColour_ != 0) colour = focusedTextColour_;
  }
  int font;
  if ((state_ & kStatePushed) && pushedFont_ != -1) font = pushedFont_;
  else if ((state_ & kStateHot) && hotFont_ != -1) font = hotFont_;
  else font = IsFocused() && focusedFont_ != -1 ? focusedFont_ : FontId();
  const RECT rect = TextArea(true);
  DrawTextIn(dc, rect, colour, font);
}

}  // namespace SkinUI
