#include "ui/controls/control_ui.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <memory>

#include "ui/geometry/rect_conversion.h"
#include "ui/markup/attribute_list.h"
#include "ui/markup/value_formats.h"
#include "ui/render/render_kit.h"
#include "ui/render/round_clip.h"
#include "ui/resources/hsl_colour.h"
#include "ui/resources/resource_tables.h"
#include "ui/controls/notify_kinds.h"

namespace SkinUI {

namespace {

struct CursorName {
  const wchar_t* name;
  WORD id;
};
constexpr CursorName kCursors[] = {
    {L"arrow", 32512},    {L"ibeam", 32513},    {L"wait", 32514},   {L"cross", 32515}, {L"uparrow", 32516},
    {L"size", 32640},     {L"icon", 32641},     {L"sizenwse", 32642}, {L"sizenesw", 32643}, {L"sizewe", 32644},
    {L"sizens", 32645},   {L"sizeall", 32646},  {L"no", 32648},     {L"hand", 32649},
};

std::wstring ReplaceAll(std::wstring text, std::wstring_view from, std::wstring_view to) {
  for (size_t pos = text.find(from); pos != std::wstring::npos; pos = text.find(from, pos + to.size())) {
    text.replace(pos, from.size(), to);
  }
  return text;
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towlower(x) == std::towlower(y);
         });
}

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
  if (manager_) manager_->ForgetControl(this);
}

void* CControlUI::QueryInterfaceUI(const wchar_t* name) {
  return name && std::wcscmp(name, L"Control") == 0 ? this : nullptr;
}

bool CControlUI::CanActivate(bool) { return IsShown() && IsEnabledUI(); }

void CControlUI::AttachManager(IControlHost* manager, CControlUI* parent, bool init) {
  manager_ = manager;
  parent_ = parent;
  if (init && parent_) InitControl();
}

void CControlUI::ChangeText(const std::wstring& text) {
  if (text_ == text) return;
  text_ = text;
  Invalidate();
}

void CControlUI::SetResourceText(bool on) {
  if (resourceText_ == on) return;
  resourceText_ = on;
  Invalidate();
}

void CControlUI::OnDragEnter() {
  if (drop_) SendNotify(kNotifyDragEnter);
  else if (parent_) parent_->OnDragEnter();
}
void CControlUI::OnDragOver() {
  if (drop_) SendNotify(kNotifyDragOver);
  else if (parent_) parent_->OnDragOver();
}
void CControlUI::OnDragLeave() {
  if (drop_) SendNotify(kNotifyDragLeave);
  else if (parent_) parent_->OnDragLeave();
}
void CControlUI::OnDragEnd() {
  if (drop_) SendNotify(kNotifyDragEnd);
  else if (parent_) parent_->OnDragEnd();
}
void CControlUI::OnDrop() {
  if (drop_) SendNotify(kNotifyDrop);
  else if (parent_) parent_->OnDrop();
}

RECT CControlUI::RelativePos() const {
  RECT pos = item_;
  if (parent_) {
    const RECT parent = parent_->ItemRect();
    OffsetRect(&pos, -parent.left, -parent.top);
  }
  return pos;
}

void CControlUI::PlaceAt(RECT rect, bool invalidate) {
  if (rect.right < rect.left) rect.right = rect.left;
  if (rect.bottom < rect.top) rect.bottom = rect.top;
  const RECT old = item_;
  item_ = rect;
  if (manager_ && !float_ && parent_) {
    const RECT parent = parent_->ItemRect();
    if (horzPaddingCenter_) {
      const int width = item_.right - item_.left;
      item_.left = parent.left + (parent.right - parent.left) / 2 - width / 2;
      item_.right = item_.left + width;
    }
    if (vertPaddingCenter_) {
      const int height = item_.bottom - item_.top;
      item_.top = parent.top + (parent.bottom - parent.top) / 2 - height / 2;
      item_.bottom = item_.top + height;
    }
  }
  if (!sizeDelegatesRunning_) {
    sizeDelegatesRunning_ = true;
    onSize.Run(this);
    sizeDelegatesRunning_ = false;
  }
  needsUpdate_ = false;
  if (invalidate && manager_ && IsShown()) {
    RECT both{};
    UnionRect(&both, &old, &item_);
    const RECT clipped = ClipByAncestors(both);
    if (!IsRectEmpty(&clipped)) manager_->Invalidate(clipped);
  }
}

void CControlUI::MoveBy(int dx, int dy, bool invalidate) {
  RECT moved = item_;
  OffsetRect(&moved, dx, dy);
  PlaceAt(moved, invalidate);
}

RECT CControlUI::Padding() const {
  if (!manager_ || !scalePadding_) return padding_;
  return {manager_->ScaleValue(padding_.left), manager_->ScaleValue(padding_.top),
          manager_->ScaleValue(padding_.right), manager_->ScaleValue(padding_.bottom)};
}

void CControlUI::SetPadding(const RECT& padding) {
  padding_ = padding;
  NeedLayout();
}

SIZE CControlUI::FixedXY() const {
  if (!manager_) return fixedXY_;
  return {manager_->ScaleValue(fixedXY_.cx), manager_->ScaleValue(fixedXY_.cy)};
}

void CControlUI::SetFixedXY(SIZE xy) {
  fixedXY_ = xy;
  NeedLayout();
}

void CControlUI::ChangeSizeRequest(int& field, int value) {
  if (value < 0 || field == value) return;
  field = value;
  NeedLayout();
}

int CControlUI::FixedWidth() const { return manager_ ? manager_->ScaleValue(fixedWidth_) : fixedWidth_; }
void CControlUI::SetFixedWidth(int width) { ChangeSizeRequest(fixedWidth_, width); }
int CControlUI::FixedHeight() const { return manager_ ? manager_->ScaleValue(fixedHeight_) : fixedHeight_; }
void CControlUI::SetFixedHeight(int height) { ChangeSizeRequest(fixedHeight_, height); }
int CControlUI::MinWidth() const { return manager_ ? manager_->ScaleValue(minWidth_) : minWidth_; }
void CControlUI::SetMinWidth(int width) { ChangeSizeRequest(minWidth_, width); }
int CControlUI::MaxWidth() const { return manager_ ? manager_->ScaleValue(maxWidth_) : maxWidth_; }
void CControlUI::SetMaxWidth(int width) { ChangeSizeRequest(maxWidth_, width); }
int CControlUI::MinHeight() const { return manager_ ? manager_->ScaleValue(minHeight_) : minHeight_; }
void CControlUI::SetMinHeight(int height) { ChangeSizeRequest(minHeight_, height); }
int CControlUI::MaxHeight() const { return manager_ ? manager_->ScaleValue(maxHeight_) : maxHeight_; }
void CControlUI::SetMaxHeight(int height) { ChangeSizeRequest(maxHeight_, height); }

void CControlUI::SetFloatPercentage(const FloatPercent& percent) {
  floatPercent_ = percent;
  NeedLayout();
}

void CControlUI::SetFloatAlign(UINT align) {
  floatAlign_ = align;
  NeedLayout();
}

void CControlUI::SetScalePadding(bool on) {
  scalePadding_ = on;
  NeedLayout();
}

void CControlUI::SetScaleTextPadding(bool on) {
  scaleTextPadding_ = on;
  NeedLayout();
}

void CControlUI::SwitchResources(int index) {
  if (index < 0) return;
  const ResourceTables& tables = ResourceTables::Get();
  tables.SwitchImage(bkImageKeys_, index, bkImage_);
  tables.SwitchImage(foreImageKeys_, index, foreImage_);
  if (const uint32_t* colour = tables.ColourAt(textColourKeys_, index)) ChangeTextColor(*colour);
  tables.SwitchColour(bkColourKeys_, index, bkColour_);
  Invalidate();
}

void CControlUI::SetToolTip(const std::wstring& text) { toolTip_ = ReplaceAll(text, L"<n>", L"\r\n"); }

int CControlUI::ToolTipWidth() const { return manager_ ? manager_->ScaleValue(toolTipWidth_) : toolTipWidth_; }

void CControlUI::Show(bool visible) {
  if (visible_ == visible) return;
  const bool wasShown = IsShown();
  if (!visible && focused_ && manager_) manager_->SetFocusControl(nullptr);
  visible_ = visible;
  if (IsShown() != wasShown) NeedLayout();
}

void CControlUI::SetVisibleByParent(bool visible) {
  if (visibleByParent_ == visible) return;
  const bool wasShown = IsShown();
  visibleByParent_ = visible;
  if (IsShown() != wasShown) NeedLayout();
}

void CControlUI::Enable(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Invalidate();
}

void CControlUI::TakeFocus() {
  if (manager_) manager_->SetFocusControl(this);
}

void CControlUI::SetFloat(bool on) {
  if (float_ == on) return;
  float_ = on;
  NeedLayout();
}

CControlUI* CControlUI::FindControlBy(FindTest test, void* data, UINT flags) {
  if ((flags & kFindVisible) && !IsShown()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabledUI()) return nullptr;
  if ((flags & kFindHitTest) && (data == nullptr || !PtInRect(&item_, *static_cast<const POINT*>(data)))) {
    return nullptr;
  }
  return test(this, data);
}

void CControlUI::InitControl() {
  DoInitControl();
  onInit.Run(this);
}

void CControlUI::DoInitControl() {
  if (tabSupport_ && manager_) manager_->AddTabSupport(this);
}

void CControlUI::RouteEvent(InputEvent& event) {
  if (onEvent.Run(event)) HandleEvent(event);
}

void CControlUI::HandleEvent(InputEvent& event) {
  switch (event.kind) {
    case kEventSetCursor:
      ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(cursor_ ? cursor_ : 32512)));
      return;
    case kEventSetFocus:
      focused_ = true;
      Invalidate();
      return;
    case kEventKillFocus:
      focused_ = false;
      Invalidate();
      return;
    case kEventTimer:
      SendNotify(kNotifyTimer, event.wParam, event.lParam);
      return;
    case kEventContextMenu:
      if (contextMenu_) {
        SendNotify(kNotifyMenu, event.wParam, event.lParam);
        return;
      }
      break;
    case kEventMouseEnter:
    case kEventMouseLeave:
      if (IsEnabledUI() && enterLeave_) {
        Invalidate();
        SendNotify(event.kind == kEventMouseEnter ? kNotifyMouseEnter : kNotifyMouseLeave, event.wParam, event.lParam);
      }
      return;
    case kEventMouseHover:
      SendNotify(kNotifyMouseHover, event.wParam, event.lParam);
      return;
    case kEventMouseMove:
      SendNotify(kNotifyMouseMove, event.wParam, event.lParam);
      return;
    // The wheel and keys are told once, by the control they came to, and
    // then go on up the tree, where a scrolling container may use them.
    case kEventScrollWheel:
      if (event.sender == this) SendNotify(kNotifyMouseWheel, event.wParam, event.lParam);
      break;
    case kEventKeyDown:
      if (event.sender == this) SendNotify(kNotifyKeyDown, event.wParam, event.lParam);
      break;
    case kEventChar:
      SendNotify(kNotifyChar, event.wParam, event.lParam);
      return;
    case kEventDragBegin:
      if (drag_) {
        SendNotify(kNotifyBeginDrag, event.wParam, event.lParam);
        return;
      }
      break;
    case kEventDragMoveBegin:
    case kEventDragMoving:
    case kEventDragMoveEnd:
      if (dragMove_) {
        const wchar_t* type = event.kind == kEventDragMoveBegin ? L"dragmovebegin"
                              : event.kind == kEventDragMoving  ? L"dragmoving"
                                                                : L"dragmoveend";
        SendNotify(type, event.wParam, event.lParam);
        return;
      }
      break;
    default:
      break;
  }
  if (parent_) parent_->HandleEvent(event);
}

void CControlUI::ApplyPos(const std::wstring& value) {
  const UiRect pos = ParseRect(value);
  fixedXY_ = {pos.left < 0 ? pos.right : pos.left, pos.top < 0 ? pos.bottom : pos.top};
  if (pos.right - pos.left >= 0) fixedWidth_ = pos.right - pos.left;
  if (pos.bottom - pos.top >= 0) fixedHeight_ = pos.bottom - pos.top;
  NeedLayout();
}

void CControlUI::ApplyFloat(const std::wstring& value) {
  if (value.find(L',') == std::wstring::npos) {
    SetFloat(ParseBool(value));
    return;
  }
  float reals[4];
  ParseRealList(value, reals, 4);
  SetFloatPercentage({reals[0], reals[1], reals[2], reals[3]});
  SetFloat(true);
}

void CControlUI::ApplyFloatAlign(const std::wstring& value) {
  UINT align = floatAlign_;
  size_t pos = 0;
  while (pos <= value.size()) {
    const size_t end = std::min(value.find_first_of(L", ", pos), value.size());
    const std::wstring word = value.substr(pos, end - pos);
    if (word == L"left") align &= ~(kFloatAlignCenter | kFloatAlignRight);
    else if (word == L"center") align = (align & ~kFloatAlignRight) | kFloatAlignCenter;
    else if (word == L"right") align = (align & ~kFloatAlignCenter) | kFloatAlignRight;
    else if (word == L"top") align &= ~(kFloatAlignVCenter | kFloatAlignBottom);
    else if (word == L"vcenter") align = (align & ~kFloatAlignBottom) | kFloatAlignVCenter;
    else if (word == L"bottom") align = (align & ~kFloatAlignVCenter) | kFloatAlignBottom;
    else if (word == L"nullptr") align = 0;
    pos = end + 1;
  }
  SetFloatAlign(align);
}

void CControlUI::ApplyBorderSize(const std::wstring& value) {
  if (value.find(L',') == std::wstring::npos) {
    borderSize_ = ParseInteger(value);
  } else {
    sideBorders_ = ToRect(ParseRect(value));
  }
  Invalidate();
}

bool CControlUI::ApplyCursorName(const std::wstring& value) {
  for (const CursorName& cursor : kCursors) {
    if (value == cursor.name) {
      cursor_ = cursor.id;
      return true;
    }
  }
  return false;
}

std::vector<std::wstring> CControlUI::ParseSwitchKeys(const std::wstring& value) {
  std::vector<std::wstring> keys;
  size_t start = 0;
  for (size_t end = value.find(L';'); end != std::wstring::npos; end = value.find(L';', start)) {
    keys.push_back(value.substr(start, end - start));
    start = end + 1;
  }
  return keys;
}

void CControlUI::ApplyAttribute(const wchar_t* rawName, const wchar_t* rawValue) {
  const std::wstring name = rawName ? rawName : L"";
  const std::wstring value = rawValue ? rawValue : L"";
  if (manager_) {
    if (const std::wstring* style = manager_->Style(value)) {
      ApplyAttributeList(*style);
      return;
    }
  }
  const auto colour = [&value] { return ParseColour(value); };
  const auto flag = [&value] { return ParseBool(value); };
  const auto size = [&value] {
    const UiSize parsed = ParseSize(value);
    return SIZE{parsed.cx, parsed.cy};
  };

  if (name == L"pos") ApplyPos(value);
  else if (name == L"float") ApplyFloat(value);
  else if (name == L"floatalign") ApplyFloatAlign(value);
  else if (name == L"innerstyle") ApplyAttributeList(value);
  else if (name == L"padding") {
    SetPadding(ToRect(ParseRect(value)));
  }
  else if (name == L"gradient") { gradient_ = value; Invalidate(); }
  else if (name == L"bkcolor" || name == L"bkcolor1") ChangeBkColor(colour());
  else if (name == L"bkcolor2") { bkColour2_ = colour(); Invalidate(); }
  else if (name == L"bkcolor3") { bkColour3_ = colour(); Invalidate(); }
  else if (name == L"bkcolorround") { bkRound_ = size(); Invalidate(); }
  else if (name == L"forecolor") { foreColour_ = colour(); Invalidate(); }
  else if (name == L"bordercolor") { borderColour_ = colour(); Invalidate(); }
  else if (name == L"focusbordercolor") { focusBorderColour_ = colour(); Invalidate(); }
  else if (name == L"colorhsl") { colourHsl_ = flag(); Invalidate(); }
  else if (name == L"bordersize") ApplyBorderSize(value);
  else if (name == L"leftbordersize") { sideBorders_.left = ParseInteger(value); Invalidate(); }
  else if (name == L"topbordersize") { sideBorders_.top = ParseInteger(value); Invalidate(); }
  else if (name == L"rightbordersize") { sideBorders_.right = ParseInteger(value); Invalidate(); }
  else if (name == L"bottombordersize") { sideBorders_.bottom = ParseInteger(value); Invalidate(); }
  else if (name == L"borderstyle") { borderStyle_ = ParseInteger(value); Invalidate(); }
  else if (name == L"borderround") { borderRound_ = size(); Invalidate(); }
  else if (name == L"bkimage") ChangeBkImage(value);
  else if (name == L"foreimage") ChangeForeImage(value);
  else if (name == L"width") SetFixedWidth(ParseInteger(value));
  else if (name == L"height") SetFixedHeight(ParseInteger(value));
  else if (name == L"minwidth") SetMinWidth(ParseInteger(value));
  else if (name == L"minheight") SetMinHeight(ParseInteger(value));
  else if (name == L"maxwidth") SetMaxWidth(ParseInteger(value));
  else if (name == L"maxheight") SetMaxHeight(ParseInteger(value));
  else if (name == L"name") ChangeName(value);
  else if (name == L"text") ChangeText(ReplaceAll(value, L"{\\n}", L"\n"));
  else if (name == L"tooltip") SetToolTip(value);
  else if (name == L"userdata") SetUserData(value);
  else if (name == L"enabled") Enable(flag());
  else if (name == L"mouse") SetMouseEnabled(flag());
  else if (name == L"keyboard") SetKeyboardEnabled(flag());
  else if (name == L"visible") Show(flag());
  else if (name == L"menu") SetContextMenuUsed(flag());
  else if (name == L"drag") SetDragEnabled(flag());
  else if (name == L"drop") SetDropEnabled(flag());
  else if (name == L"dragmove") SetDragMove(flag());
  else if (name == L"resourcetext") SetResourceText(flag());
  else if (name == L"isdynamic") SetDynamic(flag());
  else if (name == L"shortcut") SetShortcut(value.empty() ? 0 : value[0]);
  else if (name == L"cursor") ApplyCursorName(value);
  else if (name == L"virtualwnd") virtualWindow_ = value;
  else if (name == L"horzpaddingcenter") horzPaddingCenter_ = value == L"true";
  else if (name == L"vertpaddingcenter") vertPaddingCenter_ = value == L"true";
  else if (name == L"BkImageSwitchRes") bkImageKeys_ = ParseSwitchKeys(value);
  else if (name == L"ForeImageSwitchRes") foreImageKeys_ = ParseSwitchKeys(value);
  else if (name == L"TextColorSwitchRes") textColourKeys_ = ParseSwitchKeys(value);
  else if (name == L"BkColorSwitchRes") bkColourKeys_ = ParseSwitchKeys(value);
  else if (name == L"TabSuppot") tabSupport_ = flag();
  else if (name == L"Tag") ChangeTag(static_cast<UINT_PTR>(ParseInteger(value)));
  else if (name == L"DPIPadding") SetScalePadding(flag());
  else if (name == L"DPITextPadding") SetScaleTextPadding(flag());
  else if (name == L"ReponseMouseEnterLeave") SetEnterLeaveResponse(flag());
  else customAttributes_[name] = value;
}

void CControlUI::ApplyAttributeList(const std::wstring& list) {
  const std::wstring* style = manager_ ? manager_->Style(list) : nullptr;
  const AttributeMap pairs = ParseAttributeList(style ? *style : list);
  for (const auto& [name, value] : pairs) ApplyAttribute(name.c_str(), value.c_str());
}

void CControlUI::ChangeBkImage(const std::wstring& image) {
  if (bkImage_ == image) return;
  bkImage_ = image;
  Invalidate();
}

void CControlUI::ChangeForeImage(const std::wstring& image) {
  if (foreImage_ == image) return;
  foreImage_ = image;
  Invalidate();
}

void CControlUI::ChangeBkColor(uint32_t colour) {
  if (bkColour_ == colour) return;
  bkColour_ = colour;
  Invalidate();
}

int CControlUI::BorderSize() const { return manager_ ? manager_->ScaleValue(borderSize_) : borderSize_; }

SIZE CControlUI::BorderRound() const {
  if (!manager_) return borderRound_;
  return {manager_->ScaleValue(borderRound_.cx), manager_->ScaleValue(borderRound_.cy)};
}

SIZE CControlUI::BkRound() const {
  if (!manager_) return bkRound_;
  return {manager_->ScaleValue(bkRound_.cx), manager_->ScaleValue(bkRound_.cy)};
}

const std::wstring* CControlUI::CustomAttribute(const std::wstring& name) const {
  const auto found = customAttributes_.find(name);
  return found == customAttributes_.end() ? nullptr : &found->second;
}

RECT CControlUI::ClipByAncestors(RECT rect) const {
  for (const CControlUI* ancestor = parent_; ancestor; ancestor = ancestor->parent_) {
    const RECT bounds = ancestor->ItemRect();
    if (!IntersectRect(&rect, &rect, &bounds)) return RECT{};
  }
  return rect;
}

void CControlUI::Invalidate() {
  if (!IsShown() || !manager_) return;
  const RECT clipped = ClipByAncestors(item_);
  if (!IsRectEmpty(&clipped)) manager_->Invalidate(clipped);
}

void CControlUI::NeedLayout() {
  CControlUI* target = parent_ ? parent_ : this;
  target->needsUpdate_ = true;
  target->Invalidate();
  if (manager_) manager_->NeedLayout();
}

void CControlUI::NeedOwnLayout() {
  needsUpdate_ = true;
  Invalidate();
  if (manager_) manager_->NeedLayout();
}

bool CControlUI::StartTimer(UINT id, UINT periodMs) { return manager_ && manager_->StartTimer(this, id, periodMs); }

bool CControlUI::StopTimer(UINT id) { return manager_ && manager_->StopTimer(this, id); }

CControlUI* CControlUI::LookupChild(const std::wstring& name) {
  struct Search {
    static CControlUI* ByName(CControlUI* control, void* data) {
      return control->ControlName() == *static_cast<const std::wstring*>(data) ? control : nullptr;
    }
  };
  std::wstring wanted = name;
  return FindControlBy(&Search::ByName, &wanted, 0);
}

void CControlUI::SendNotify(const wchar_t* type, WPARAM wParam, LPARAM lParam, bool queued) {
  if (manager_) manager_->DispatchNotify(this, type, wParam, lParam, queued);
}

bool CControlUI::DrawImage(HDC dc, const std::wstring& image, const std::wstring& modifier) {
  return CRenderKit::DrawImageString({dc, manager_}, item_, paintRect_, image, modifier);
}

uint32_t CControlUI::AdjustColour(uint32_t colour) const {
  if (!colourHsl_ || manager_ == nullptr) return colour;
  return AdjustColourHsl(colour, manager_->Attributes().hsl);
}

SIZE CControlUI::MeasureSize(SIZE) { return FixedSize(); }

SIZE CControlUI::FixedSize() const { return {FixedWidth(), FixedHeight()}; }

bool CControlUI::PaintControl(HDC dc, const RECT& dirty, CControlUI* stopControl) {
  if (stopControl == this) return false;
  if (!IntersectRect(&paintRect_, &dirty, &item_)) return true;
  return DoPaintControl(dc, dirty, stopControl);
}

bool CControlUI::DoPaintControl(HDC dc, const RECT& dirty, CControlUI*) {
  const SIZE round = BorderRound();
  std::unique_ptr<CRoundClip> clip;
  if (round.cx > 0 || round.cy > 0) clip = std::make_unique<CRoundClip>(dc, item_, dirty, round.cx, round.cy);
  FillBackColour(dc);
  DrawBackImage(dc);
  DrawStateImage(dc);
  FillForeColour(dc);
  DrawForeImage(dc);
  DrawLabelText(dc);
  DrawBorderLines(dc);
  onPaint.Run(this);
  return true;
}

void CControlUI::FillBackColour(HDC dc) {
  if (bkColour_ == 0) return;
  const uint32_t first = AdjustColour(bkColour_);
  if (bkColour2_ != 0 && bkColour3_ == 0) {
    const bool vertical = !EqualsIgnoringCase(gradient_, L"hor");
    CRenderKit::DrawGradient(dc, item_, first, AdjustColour(bkColour2_), vertical, 16);
  } else if (bkColour3_ != 0) {
    RECT upper = item_, lower = item_;
    upper.bottom = lower.top = (item_.top + item_.bottom) / 2;
    CRenderKit::DrawGradient(dc, upper, first, AdjustColour(bkColour2_), true, 8);
    CRenderKit::DrawGradient(dc, lower, AdjustColour(bkColour2_), AdjustColour(bkColour3_), true, 8);
  } else {
    // A colour that is not opaque is filled over the whole item so that
    // partial repaints do not blend it twice into different parts.
    const RECT& area = (first >> 24) != 0xFF ? item_ : paintRect_;
    const SIZE round = BkRound();
    CRenderKit::DrawColor(dc, area, first, round.cx, round.cy);
  }
}

void CControlUI::DrawBackImage(HDC dc) {
  if (!bkImage_.empty()) DrawImage(dc, bkImage_);
}

void CControlUI::DrawStateImage(HDC) {}

void CControlUI::FillForeColour(HDC dc) {
  if (foreColour_ != 0) CRenderKit::DrawColor(dc, item_, AdjustColour(foreColour_));
}

void CControlUI::DrawForeImage(HDC dc) {
  if (!foreImage_.empty()) DrawImage(dc, foreImage_);
}

void CControlUI::DrawLabelText(HDC) {}

void CControlUI::DrawBorderLines(HDC dc) {
  if (borderColour_ == 0 && focusBorderColour_ == 0) return;
  const uint32_t colour = AdjustColour(focused_ && focusBorderColour_ != 0 ? focusBorderColour_ : borderColour_);
  const int size = BorderSize();
  const SIZE round = BorderRound();
  if (size >= 1 && (round.cx > 0 || round.cy > 0)) {
    CRenderKit::DrawRoundRect(dc, item_, size, round.cx, round.cy, colour, borderStyle_);
    return;
  }
  if (size >= 1) {
    CRenderKit::DrawRect(dc, item_, size, colour, borderStyle_);
    return;
  }
  const auto scaled = [this](LONG n) { return manager_ ? manager_->ScaleValue(n) : static_cast<int>(n); };
  const int left = scaled(sideBorders_.left), top = scaled(sideBorders_.top);
  const int right = scaled(sideBorders_.right), bottom = scaled(sideBorders_.bottom);
  if (left >= 1) CRenderKit::DrawColor(dc, {item_.left, item_.top, item_.left + left, item_.bottom}, colour);
  if (top >= 1) CRenderKit::DrawColor(dc, {item_.left, item_.top, item_.right, item_.top + top}, colour);
  if (right >= 1) CRenderKit::DrawColor(dc, {item_.right - right, item_.top, item_.right, item_.bottom}, colour);
  if (bottom >= 1) CRenderKit::DrawColor(dc, {item_.left, item_.bottom - bottom, item_.right, item_.bottom}, colour);
}

void CControlUI::AfterPaint(HDC, const RECT&) {}

}  // namespace SkinUI
