// The layout pass and the painting of the tree: straight to the window,
// through the off-screen bitmap, or as a layered window with per-pixel alpha.
#include <algorithm>

#include "ui/controls/control_ui.h"
#include "ui/host/layered_alpha.h"
#include "ui/host/paint_manager_ui.h"
#include "ui/render/rect_clip.h"
#include "ui/render/render_kit.h"
#include "ui/controls/notify_kinds.h"

namespace SkinUI {

namespace {

using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);

// Looked up once: a system without it leaves windows unlayered.
UpdateLayeredWindowFn UpdateLayeredWindowEntry() {
  static const auto entry = reinterpret_cast<UpdateLayeredWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "UpdateLayeredWindow")));
  return entry;
}

UiRect ToUi(const RECT& rect) {
  return {static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
          static_cast<int>(rect.bottom)};
}

}  // namespace

void CPaintManagerUI::SetLayeredMode(bool on) {
  if (window_ == nullptr || (GetWindowLongW(window_, GWL_STYLE) & WS_CHILD)) return;
  if (attributes_.layered == on) return;
  if (on && UpdateLayeredWindowEntry() == nullptr) return;
  attributes_.layered = on;
  const LONG exStyle = GetWindowLongW(window_, GWL_EXSTYLE);
  SetWindowLongW(window_, GWL_EXSTYLE, on ? exStyle | WS_EX_LAYERED : exStyle & ~WS_EX_LAYERED);
  if (root_) root_->NeedOwnLayout();
  NeedLayout();
}

void CPaintManagerUI::ApplyWindowOpacity() {
  if (window_ == nullptr || attributes_.layered || attributes_.opacity >= 255) return;
  if (GetWindowLongW(window_, GWL_STYLE) & WS_CHILD) return;
  SetWindowLongW(window_, GWL_EXSTYLE, GetWindowLongW(window_, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(window_, 0, static_cast<BYTE>(attributes_.opacity), LWA_ALPHA);
}

void CPaintManagerUI::LayoutPass(RECT client) {
  bool wholeTree = false;
  layoutNeeded_ = false;
  if (root_->NeedsUpdate()) {
    offscreen_.Release();
    root_->PlaceAt(client, true);
    wholeTree = true;
  } else {
    // Controls that asked for a new layout are placed again where they are.
    std::vector<CControlUI*> pending;
    for (CControlUI* control : CollectByClass(root_, L"*")) {
      if (control != root_ && control->NeedsUpdate() && control->IsShown()) pending.push_back(control);
    }
    for (CControlUI* control : pending) {
      if (control->NeedsUpdate()) control->PlaceAt(control->ItemRect(), true);
    }
  }
  if (firstLayout_) {
    firstLayout_ = false;
    DispatchNotify(root_, kNotifyWindowInit, 0, 0, false);
    if (shadow_) PostMessageW(window_, kMsgCreateShadow, 0, 0);
  }
  if (wholeTree) DispatchNotify(root_, kNotifyWindowSize, 0, 0, true);
}

void CPaintManagerUI::Paint() {
  RECT dirty{};
  if (root_ == nullptr) {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window_, &paint);
    FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(window_, &paint);
    return;
  }
  const bool layered = IsLayered();
  PAINTSTRUCT paint{};
  HDC target = nullptr;
  if (layered) {
    GetUpdateRect(window_, &dirty, FALSE);
    ValidateRect(window_, nullptr);
  } else {
    target = BeginPaint(window_, &paint);
    dirty = paint.rcPaint;
    if (IsRectEmpty(&dirty)) {
      EndPaint(window_, &paint);
      return;
    }
  }
  if (focusNeeded_) NextTabControl(true);

  RECT client{};
  GetClientRect(window_, &client);
  const bool laidOut = layoutNeeded_ && !IsRectEmpty(&client) && !IsIconic(window_);
  if (laidOut) LayoutPass(client);

  if (layered) {
    SetWindowLongW(window_, GWL_EXSTYLE, GetWindowLongW(window_, GWL_EXSTYLE) | WS_EX_LAYERED);
    UnionRect(&dirty, &dirty, &layeredDirty_);
    IntersectRect(&dirty, &dirty, &client);
    layeredDirty_ = RECT{};
  }
  if (layered || offscreenPainting_) {
    PaintOffscreen(target, dirty);
  } else {
    root_->PaintControl(target, dirty, nullptr);
    for (CControlUI* control : std::vector<CControlUI*>(postPaint_)) control->AfterPaint(target, dirty);
  }
  if (!layered) EndPaint(window_, &paint);
  // A layout that became due while painting needs another paint; one that
  // waits for a client area (a minimised window) must not repaint forever.
  if (laidOut && layoutNeeded_) NeedLayout();
}

bool CPaintManagerUI::PaintOffscreen(HDC target, RECT dirty) {
  RECT client{};
  GetClientRect(window_, &client);
  if (!offscreen_.Ensure(paintDc_, client.right - client.left, client.bottom - client.top)) return false;
  const bool layered = IsLayered();
  if (layered) ClearPixels(offscreen_.Pixels(), offscreen_.Width(), offscreen_.Height(), ToUi(dirty));
  {
    // The bitmap keeps what lies outside the dirty rectangle: a background
    // drawn over a whole item must not cover children that are not painted
    // again.
    const CRectClip onlyDirty(offscreen_.Dc(), dirty);
    root_->PaintControl(offscreen_.Dc(), dirty, nullptr);
    if (layered) PrintNativeChildren();
    for (CControlUI* control : std::vector<CControlUI*>(postPaint_)) control->AfterPaint(offscreen_.Dc(), dirty);
  }
  GdiFlush();
  if (layered) {
    PushLayered(dirty);
    return true;
  }
  BitBlt(target, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, offscreen_.Dc(),
         dirty.left, dirty.top, SRCCOPY);
  if (attributes_.showDirty) {
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    const HGDIOBJ oldPen = SelectObject(target, pen);
    const HGDIOBJ oldBrush = SelectObject(target, GetStockObject(NULL_BRUSH));
    Rectangle(target, dirty.left, dirty.top, dirty.right, dirty.bottom);
    SelectObject(target, oldBrush);
    SelectObject(target, oldPen);
    DeleteObject(pen);
  }
  return true;
}

// Native children (edits) draw with GDI: printed into a bitmap of their own
// and made opaque before they join the layered picture.
void CPaintManagerUI::PrintNativeChildren() {
  for (HWND child : nativeChildren_) {
    if (!IsWindow(child) || !IsWindowVisible(child)) continue;
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&place), 2);
    COffscreenBitmap printed;
    if (!printed.Ensure(paintDc_, place.right - place.left, place.bottom - place.top)) continue;
    SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(printed.Dc()),
                 PRF_CHECKVISIBLE | PRF_CHILDREN | PRF_CLIENT | PRF_OWNED);
    GdiFlush();
    MakePrintedOpaque(printed.Pixels(), printed.Width() * printed.Height());
    BitBlt(offscreen_.Dc(), place.left, place.top, printed.Width(), printed.Height(), printed.Dc(), 0, 0, SRCCOPY);
  }
}

void CPaintManagerUI::PushLayered(const RECT& dirty) {
  FixGdiAlpha(offscreen_.Pixels(), offscreen_.Width(), offscreen_.Height(), ToUi(dirty));
  if (!attributes_.layeredImage.empty()) {
    COffscreenBitmap mask;
    if (mask.Ensure(paintDc_, offscreen_.Width(), offscreen_.Height())) {
      const RECT whole{0, 0, offscreen_.Width(), offscreen_.Height()};
      CRenderKit::DrawImageString({mask.Dc(), this}, whole, whole, attributes_.layeredImage);
      GdiFlush();
      MultiplyByMaskAlpha(offscreen_.Pixels(), mask.Pixels(), offscreen_.Width() * offscreen_.Height());
    }
  }
  RECT window{};
  GetWindowRect(window_, &window);
  POINT position{window.left, window.top};
  SIZE size{offscreen_.Width(), offscreen_.Height()};
  POINT source{0, 0};
  const int opacity = attributes_.layeredOpacity * attributes_.opacity / 255;
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(opacity), AC_SRC_ALPHA};
  if (const UpdateLayeredWindowFn update = UpdateLayeredWindowEntry()) {
    update(window_, paintDc_, &position, &size, offscreen_.Dc(), &source, 0, &blend, ULW_ALPHA);
  }
}

}  // namespace SkinUI
