#include "ui/containers/container_ui.h"

#include <algorithm>
#include <cwchar>
#include <memory>

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
  return {item_.left + inset.left, item_.top + inset.top, item_.right - inset.right, item_.bottom - inset.bottom};
}

void CContainerUI::PlaceAt(RECT rect, bool invalidate) {
  CControlUI::PlaceAt(rect, invalidate);
  if (!items_.empty()) ArrangeChildren(ToUiRect(ArrangeArea()));
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

void CContainerUI::ApplyArrangement(const LayoutResult& rects) {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (rects[i]) items_[i]->PlaceAt(ToRect(*rects[i]), false);
    else PlaceFloatChild(static_cast<int>(i));
  }
}

void CContainerUI::ArrangeChildren(const UiRect& inner) { ApplyArrangement(ArrangeStacked(LayoutRequests(), inner)); }

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
}

CControlUI* CContainerUI::FindControlBy(FindTest test, void* data, UINT flags) {
  if ((flags & kFindVisible) && !IsShown()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabledUI()) return nullptr;
  const POINT* point = static_cast<const POINT*>(data);
  if (flags & kFindHitTest) {
    if (point == nullptr || !PtInRect(&item_, *point)) return nullptr;
    if (!mouseChild_) return test(this, data);
  }
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
  } else {
    CControlUI::ApplyAttribute(rawName, rawValue);
  }
}

}  // namespace SkinUI
