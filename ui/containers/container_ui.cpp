#include "ui/containers/container_ui.h"

#include <algorithm>
#include <cwchar>
#include <memory>

#include "ui/controls/notify_kinds.h"
#include "ui/markup/value_formats.h"
#include "ui/render/rect_clip.h"

namespace SkinUI {

CContainerUI::~CContainerUI() {
  // Children are deleted before the base forgets this control, so each
  // leaves the manager's tables on its own.
  std::vector<std::unique_ptr<CControlUI>> items;
  items.swap(items_);
  for (std::unique_ptr<CControlUI>& item : items) item.reset();
}

void* CContainerUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, kContainerInterfaceName) == 0) return static_cast<IContainerUI*>(this);
  if (name && std::wcscmp(name, L"Container") == 0) return this;
  return CControlUI::QueryInterfaceUI(name);
}

CControlUI* CContainerUI::ItemAt(int index) const {
  return index >= 0 && index < ItemCount() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

int CContainerUI::IndexOfItem(CControlUI* control) const {
  const auto found = std::find_if(items_.begin(), items_.end(),
                                  [control](const std::unique_ptr<CControlUI>& item) { return item.get() == control; });
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

bool CContainerUI::MoveItemTo(CControlUI* control, int index) {
  const int from = IndexOfItem(control);
  if (from < 0 || index < 0 || index >= ItemCount()) return false;
  std::unique_ptr<CControlUI> moved = std::move(items_[static_cast<size_t>(from)]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + index, std::move(moved));
  NeedOwnLayout();
  return true;
}

bool CContainerUI::AddItem(CControlUI* control) { return AddItemAt(control, -1); }

bool CContainerUI::AddItem(std::unique_ptr<CControlUI> control) { return AddItemAt(control.release(), -1); }

bool CContainerUI::AddItemAt(CControlUI* control, int index) {
  if (control == nullptr) return false;
  if (manager_) {
    control->AttachManager(manager_, this, true);
    manager_->RegisterNames(control);
  }
  if (IsShown()) NeedOwnLayout();
  else control->SetVisibleByParent(false);
  if (index < 0 || index >= ItemCount()) items_.emplace_back(control);
  else items_.emplace(items_.begin() + index, control);
  return true;
}

bool CContainerUI::RemoveItem(CControlUI* control) { return RemoveItemAt(IndexOfItem(control)); }

bool CContainerUI::RemoveItemAt(int index) {
  if (ItemAt(index) == nullptr) return false;
  std::unique_ptr<CControlUI> control = std::move(items_[static_cast<size_t>(index)]);
  NeedOwnLayout();
  items_.erase(items_.begin() + index);
  IControlHost* manager = manager_;
  if (manager) manager->ForgetSubtree(control.get());
  // Out of the tree at once: a notification it is sending stops here.
  control->AttachManager(nullptr, nullptr, false);
  if (!autoDestroy_) control.release();  // the caller keeps it
  else if (delayedDestroy_ && manager) manager->QueueForDeletion(control.release());
  else control.reset();
  return true;
}

void CContainerUI::RemoveAllItems() {
  while (!items_.empty()) RemoveItemAt(ItemCount() - 1);
}

RECT CContainerUI::Inset() const {
  if (!manager_ || !scaleInset_) return inset_;
  return ToRect(manager_->Dpi().ScaleRect(ToUiRect(inset_)));
}

void CContainerUI::SetInset(const RECT& inset) {
  inset_ = inset;
  NeedOwnLayout();
}

void CContainerUI::SetScaleInset(bool on) {
  scaleInset_ = on;
  NeedOwnLayout();
}

void CContainerUI::SetScaleChildPadding(bool on) {
  scaleChildPadding_ = on;
  NeedOwnLayout();
}

int CContainerUI::ChildPadding() const {
  return manager_ && scaleChildPadding_ ? manager_->ScaleValue(childPadding_) : childPadding_;
}

int CContainerUI::ChildPaddingSecond() const {
  return manager_ && scaleChildPadding_ ? manager_->ScaleValue(childPaddingSecond_) : childPaddingSecond_;
}

void CContainerUI::SetChildPadding(int horizontal, int vertical) {
  childPadding_ = horizontal;
  childPaddingSecond_ = vertical;
  NeedOwnLayout();
}

int CContainerUI::ChildAlign(const CControlUI* child) const {
  const UINT own = child ? child->FloatAlignment() & (kFloatAlignCenter | kFloatAlignRight) : 0;
  if (own & kFloatAlignCenter) return 1;
  if (own & kFloatAlignRight) return 2;
  return childAlign_;
}

void CContainerUI::SetChildAlign(int align) {
  childAlign_ = align;
  NeedOwnLayout();
}

void CContainerUI::SetChildVAlign(int align) {
  childVAlign_ = align;
  NeedOwnLayout();
}

bool CContainerUI::ContainsControl(const CControlUI* control) const {
  for (const CControlUI* above = control ? control->ParentControl() : nullptr; above; above = above->ParentControl()) {
    if (above == this) return true;
  }
  return false;
}

void CContainerUI::PlaceFloatChild(int index) {
  CControlUI* child = ItemAt(index);
  if (child == nullptr || !child->IsFloat() || !child->IsShown()) return;
  const SIZE xy = child->FixedXY();
  const CControlUI::FloatPercent percent = child->FloatPercentage();
  FloatRequest request;
  request.x = xy.cx;
  request.y = xy.cy;
  request.width = child->FixedWidth();
  request.height = child->FixedHeight();
  request.align = child->FloatAlignment();
  request.percentLeft = percent.left;
  request.percentTop = percent.top;
  request.percentRight = percent.right;
  request.percentBottom = percent.bottom;
  child->PlaceAt(ToRect(PlaceFloating(request, ToUiRect(item_))), false);
}

RECT CContainerUI::InnerRect() const {
  const RECT inset = Inset();
  RECT inner{item_.left + inset.left, item_.top + inset.top, item_.right - inset.right, item_.bottom - inset.bottom};
  if (!scrollOverlay_) {
    if (vShown_) inner.right -= vBar_->Thickness();
    if (hShown_) inner.bottom -= hBar_->Thickness();
  }
  return inner;
}

void CContainerUI::PlaceAt(RECT rect, bool invalidate) {
  CControlUI::PlaceAt(rect, invalidate);
  LayOutContent();
}

void CContainerUI::LayOutContent() {
  if (!vBar_ && !hBar_) {
    if (!items_.empty()) ArrangeChildren(ToUiRect(ArrangeArea()));
    return;
  }
  // A bar that appears narrows the view, which may make the content longer
  // (wrapped text) or call for the other bar: a few passes settle it.
  for (int pass = 0; pass < 4; ++pass) {
    const RECT area = ArrangeArea();
    content_ = {};
    if (!items_.empty()) ArrangeChildren(ToUiRect(area));
    const bool vNeeded = vBar_ && content_.cy > area.bottom - area.top;
    const bool hNeeded = hBar_ && content_.cx > area.right - area.left;
    const SIZE range = ScrollRangeSize();
    const SIZE held{ClampScroll(scroll_.cx, hNeeded ? range.cx : 0), ClampScroll(scroll_.cy, vNeeded ? range.cy : 0)};
    if (vNeeded == vShown_ && hNeeded == hShown_ && held.cx == scroll_.cx && held.cy == scroll_.cy) break;
    vShown_ = vNeeded;
    hShown_ = hNeeded;
    scroll_ = held;
  }
  PlaceScrollBars();
}

void CContainerUI::PlaceScrollBars() {
  const RECT inset = Inset();
  const RECT box{item_.left + inset.left, item_.top + inset.top, item_.right - inset.right,
                 item_.bottom - inset.bottom};
  const RECT view = InnerRect();
  if (vBar_) {
    const int thickness = vBar_->Thickness();
    const int bottom = hShown_ ? box.bottom - hBar_->Thickness() : box.bottom;
    vBar_->PlaceAt(vShown_ ? RECT{box.right - thickness, box.top, box.right, bottom} : RECT{}, false);
    vBar_->SetRange(content_.cy, view.bottom - view.top);
    vBar_->SetLineSize(ScrollStepSize());
    vBar_->SetPosition(scroll_.cy);
  }
  if (hBar_) {
    const int thickness = hBar_->Thickness();
    const int right = vShown_ ? box.right - vBar_->Thickness() : box.right;
    hBar_->PlaceAt(hShown_ ? RECT{box.left, box.bottom - thickness, right, box.bottom} : RECT{}, false);
    hBar_->SetRange(content_.cx, view.right - view.left);
    hBar_->SetLineSize(ScrollStepSize());
    hBar_->SetPosition(scroll_.cx);
  }
}

SIZE CContainerUI::ScrollRangeSize() const {
  const RECT view = InnerRect();
  return {vBar_ || hBar_ ? ScrollRange(content_.cx, view.right - view.left) : 0,
          vBar_ || hBar_ ? ScrollRange(content_.cy, view.bottom - view.top) : 0};
}

void CContainerUI::SetScrollPos(SIZE position) {
  const SIZE range = ScrollRangeSize();
  position = {hShown_ ? ClampScroll(position.cx, range.cx) : 0, vShown_ ? ClampScroll(position.cy, range.cy) : 0};
  if (position.cx == scroll_.cx && position.cy == scroll_.cy) return;
  scroll_ = position;
  if (!items_.empty()) ArrangeChildren(ToUiRect(ArrangeArea()));
  PlaceScrollBars();
  Invalidate();
  SendNotify(kNotifyScroll, static_cast<WPARAM>(scroll_.cy), static_cast<LPARAM>(scroll_.cx));
}

void CContainerUI::OnScrollBarMoved(bool horizontal, int position) {
  SetScrollPos(horizontal ? SIZE{position, scroll_.cy} : SIZE{scroll_.cx, position});
}

void CContainerUI::SetScrollBarsShown(bool vertical, bool horizontal) {
  vShown_ = vertical && vBar_;
  hShown_ = horizontal && hBar_;
}

int CContainerUI::ScrollStepSize() const { return manager_ ? manager_->ScaleValue(scrollStep_) : scrollStep_; }

void CContainerUI::SetScrollBarsOverlay(bool on) {
  scrollOverlay_ = on;
  NeedOwnLayout();
}

void CContainerUI::Scroll(ScrollMove move, bool vertical) {
  const RECT view = InnerRect();
  const SIZE range = ScrollRangeSize();
  SIZE position = scroll_;
  if (vertical) position.cy = ScrollAfter(move, scroll_.cy, range.cy, view.bottom - view.top, ScrollStepSize());
  else position.cx = ScrollAfter(move, scroll_.cx, range.cx, view.right - view.left, ScrollStepSize());
  SetScrollPos(position);
}

std::unique_ptr<CScrollBarUI> CContainerUI::MakeScrollBar(bool horizontal) {
  auto bar = std::make_unique<CScrollBarUI>();
  bar->SetHorizontal(horizontal);
  bar->onScrolled = [this, horizontal](int position) { OnScrollBarMoved(horizontal, position); };
  if (manager_) bar->AttachManager(manager_, this, false);
  ApplyScrollBarStyle(bar.get(), horizontal ? hBarStyle_ : vBarStyle_);
  return bar;
}

void CContainerUI::ApplyScrollBarStyle(CScrollBarUI* bar, const std::wstring& style) {
  // A bar shares its container's manager from the start (MakeScrollBar,
  // AttachManager), so its style reads the same styles and scale.
  if (bar != nullptr && !style.empty()) bar->ApplyAttributeList(style);
}

void CContainerUI::EnableScrollBars(bool vertical, bool horizontal) {
  if (vertical && !vBar_) vBar_ = MakeScrollBar(false);
  if (!vertical && vBar_) {
    if (manager_) manager_->ForgetSubtree(vBar_.get());
    vBar_.reset();
    vShown_ = false;
  }
  if (horizontal && !hBar_) hBar_ = MakeScrollBar(true);
  if (!horizontal && hBar_) {
    if (manager_) manager_->ForgetSubtree(hBar_.get());
    hBar_.reset();
    hShown_ = false;
  }
  NeedOwnLayout();
}

bool CContainerUI::HandleScrollKey(WPARAM key) {
  const bool vertical = vShown_;
  switch (key) {
    case VK_UP: if (!vShown_) return false; Scroll(ScrollMove::kLineBack, true); return true;
    case VK_DOWN: if (!vShown_) return false; Scroll(ScrollMove::kLineForward, true); return true;
    case VK_LEFT: if (!hShown_) return false; Scroll(ScrollMove::kLineBack, false); return true;
    case VK_RIGHT: if (!hShown_) return false; Scroll(ScrollMove::kLineForward, false); return true;
    default: break;
  }
  if (!vShown_ && !hShown_) return false;
  switch (key) {
    case VK_PRIOR: Scroll(ScrollMove::kPageBack, vertical); return true;
    case VK_NEXT: Scroll(ScrollMove::kPageForward, vertical); return true;
    case VK_HOME: Scroll(ScrollMove::kHome, vertical); return true;
    case VK_END: Scroll(ScrollMove::kEnd, vertical); return true;
    default: return false;
  }
}

void CContainerUI::HandleEvent(InputEvent& event) {
  if (event.kind == kEventScrollWheel && (vShown_ || hShown_)) {
    // The wheel scrolls the vertical bar, or the horizontal one when it is
    // the only one (or Shift is held).
    const bool vertical = vShown_ && !(hShown_ && (event.keyState & kKeyStateShift));
    Scroll(event.wParam == 1 ? ScrollMove::kLineForward : ScrollMove::kLineBack, vertical);
    return;
  }
  if (event.kind == kEventKeyDown && HandleScrollKey(event.wParam)) return;
  CControlUI::HandleEvent(event);
}

std::vector<LayoutRequest> CContainerUI::LayoutRequests() const {
  std::vector<LayoutRequest> requests;
  requests.reserve(items_.size());
  for (const std::unique_ptr<CControlUI>& owned : items_) {
    CControlUI* child = owned.get();
    LayoutRequest request;
    request.visible = child->IsShown();
    request.floating = child->IsFloat();
    request.fixedWidth = child->FixedWidth();
    request.fixedHeight = child->FixedHeight();
    request.minWidth = child->MinWidth();
    request.minHeight = child->MinHeight();
    request.maxWidth = child->MaxWidth();
    request.maxHeight = child->MaxHeight();
    request.padding = ToUiRect(child->Padding());
    request.align = ChildAlign(child);
    request.measure = [child](UiSize available) {
      const SIZE size = child->MeasureSize({available.cx, available.cy});
      return UiSize{static_cast<int>(size.cx), static_cast<int>(size.cy)};
    };
    requests.push_back(std::move(request));
  }
  return requests;
}

void CContainerUI::ApplyArrangement(const LayoutResult& rects, const UiRect& inner) {
  content_ = {};
  for (size_t i = 0; i < items_.size(); ++i) {
    if (!rects[i]) {
      PlaceFloatChild(static_cast<int>(i));
      continue;
    }
    RECT rect = ToRect(*rects[i]);
    content_.cx = std::max<LONG>(content_.cx, rect.right - inner.left);
    content_.cy = std::max<LONG>(content_.cy, rect.bottom - inner.top);
    OffsetRect(&rect, -scroll_.cx, -scroll_.cy);
    items_[i]->PlaceAt(rect, false);
  }
}

void CContainerUI::ArrangeChildren(const UiRect& inner) {
  ApplyArrangement(ArrangeStacked(LayoutRequests(), inner), inner);
}

void CContainerUI::Show(bool visible) {
  const bool wasShown = IsShown();
  CControlUI::Show(visible);
  if (IsShown() == wasShown) return;
  for (const std::unique_ptr<CControlUI>& child : items_) child->SetVisibleByParent(IsShown());
}

void CContainerUI::SetVisibleByParent(bool visible) {
  const bool wasShown = IsShown();
  CControlUI::SetVisibleByParent(visible);
  if (IsShown() == wasShown) return;
  for (const std::unique_ptr<CControlUI>& child : items_) child->SetVisibleByParent(IsShown());
}

void CContainerUI::AttachManager(IControlHost* manager, CControlUI* parent, bool init) {
  CControlUI::AttachManager(manager, parent, init);
  for (const std::unique_ptr<CControlUI>& child : items_) child->AttachManager(manager, this, init);
  if (vBar_) vBar_->AttachManager(manager, this, init);
  if (hBar_) hBar_->AttachManager(manager, this, init);
}

CControlUI* CContainerUI::FindControlBy(FindTest test, void* data, UINT flags) {
  if ((flags & kFindVisible) && !IsShown()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabledUI()) return nullptr;
  const POINT* point = static_cast<const POINT*>(data);
  if (flags & kFindHitTest) {
    if (point == nullptr || !PtInRect(&item_, *point)) return nullptr;
  }
  for (CScrollBarUI* bar : {vShown_ ? vBar_.get() : nullptr, hShown_ ? hBar_.get() : nullptr}) {
    if (bar == nullptr) continue;
    if (CControlUI* found = bar->FindControlBy(test, data, flags); found && !(flags & kFindAll)) return found;
  }
  if ((flags & kFindHitTest) && !mouseChild_) return test(this, data);
  if (flags & kFindMeFirst) {
    if (CControlUI* found = test(this, data); found && !(flags & kFindAll)) return found;
  }
  const RECT inner = InnerRect();
  const auto searchChild = [&](CControlUI* child) -> CControlUI* {
    CControlUI* found = child->FindControlBy(test, data, flags);
    if (found == nullptr) return nullptr;
    if ((flags & kFindHitTest) && !child->IsFloat() && !PtInRect(&inner, *point)) return nullptr;
    return found;
  };
  if (flags & kFindTopFirst) {
    for (auto child = items_.rbegin(); child != items_.rend(); ++child) {
      if (CControlUI* found = searchChild(child->get()); found && !(flags & kFindAll)) return found;
    }
  } else {
    for (const std::unique_ptr<CControlUI>& child : items_) {
      if (CControlUI* found = searchChild(child.get()); found && !(flags & kFindAll)) return found;
    }
  }
  if (flags & kFindMeFirst) return nullptr;
  return test(this, data);
}

bool CContainerUI::DoPaintControl(HDC dc, const RECT& dirty, CControlUI* stopControl) {
  const CRectClip clip(dc, item_);
  if (!CControlUI::DoPaintControl(dc, dirty, stopControl)) return false;
  if (!PaintChildren(dc, dirty, stopControl)) return false;
  for (CScrollBarUI* bar : {vShown_ ? vBar_.get() : nullptr, hShown_ ? hBar_.get() : nullptr}) {
    if (bar && !bar->PaintControl(dc, dirty, stopControl)) return false;
  }
  return true;
}

bool CContainerUI::PaintChildren(HDC dc, const RECT& dirty, CControlUI* stopControl) {
  if (items_.empty()) return true;
  const RECT inner = ArrangeArea();
  RECT meets{};
  const bool innerDirty = IntersectRect(&meets, &dirty, &inner) != FALSE;
  for (const std::unique_ptr<CControlUI>& owned : items_) {
    CControlUI* child = owned.get();
    if (stopControl == child) return false;
    if (!child->IsShown()) continue;
    const RECT childRect = child->ItemRect();
    if (!IntersectRect(&meets, &dirty, &childRect)) continue;
    if (child->IsFloat()) {
      if (!child->PaintControl(dc, dirty, stopControl)) return false;
    } else if (innerDirty) {
      const CRectClip clip(dc, inner);
      if (!child->PaintControl(dc, dirty, stopControl)) return false;
    }
  }
  return true;
}

void CContainerUI::ApplyAttribute(const wchar_t* rawName, const wchar_t* rawValue) {
  const std::wstring name = rawName ? rawName : L"";
  const std::wstring value = rawValue ? rawValue : L"";
  if (name == L"inset") {
    SetInset(ToRect(ParseRect(value)));
  } else if (name == L"childpadding") {
    int numbers[2] = {0, 0};
    ParseIntegerList(value, numbers, 2);
    const bool one = value.find_first_of(L",") == std::wstring::npos;
    SetChildPadding(numbers[0], one ? numbers[0] : numbers[1]);
  } else if (name == L"childalign") {
    SetChildAlign(value == L"center" ? 1 : value == L"right" ? 2 : 0);
  } else if (name == L"childvalign") {
    SetChildVAlign(value == L"vcenter" ? kVAlignCenter : value == L"bottom" ? kVAlignBottom : kVAlignTop);
  } else if (name == L"mousechild") {
    SetMouseChildEnabled(ParseBool(value));
  } else if (name == L"DPIInset") {
    SetScaleInset(ParseBool(value));
  } else if (name == L"DpiChildPadding") {
    SetScaleChildPadding(ParseBool(value));
  } else if (name == L"vscrollbar") {
    EnableScrollBars(ParseBool(value), hBar_ != nullptr);
  } else if (name == L"hscrollbar") {
    EnableScrollBars(vBar_ != nullptr, ParseBool(value));
  } else if (name == L"vscrollbarstyle") {
    vBarStyle_ = value;
    ApplyScrollBarStyle(vBar_.get(), value);
  } else if (name == L"hscrollbarstyle") {
    hBarStyle_ = value;
    ApplyScrollBarStyle(hBar_.get(), value);
  } else if (name == L"scrollstepsize") {
    SetScrollStepSize(ParseInteger(value));
  } else if (name == L"scrollbardynamicshow") {
    SetScrollBarsOverlay(ParseBool(value));
  } else {
    CControlUI::ApplyAttribute(rawName, rawValue);
  }
}

}  // namespace SkinUI
