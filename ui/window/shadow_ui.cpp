#include "ui/window/shadow_ui.h"

#include <algorithm>
#include <vector>

#include "ui/geometry/rect_conversion.h"
#include "ui/host/paint_manager_ui.h"
#include "ui/markup/window_attributes.h"
#include "ui/render/render_kit.h"
#include "ui/resources/offscreen_bitmap.h"
#include "ui/window/shadow_alpha.h"

namespace SkinUI {

namespace {

constexpr wchar_t kShadowClass[] = L"HaldenShadowWnd";
// The owner window keeps its shadow object in this property.
constexpr wchar_t kShadowProperty[] = L"SkinShadow";
constexpr int kRangeLimit = 35;

bool RegisterShadowClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = CPaintManagerUI::Instance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kShadowClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

// The pixels of the window's region (its whole rectangle without one), at
// `origin` inside a bitmap of the given size.
ShadowShape WindowShape(HWND window, int width, int height, POINT origin) {
  ShadowShape shape;
  shape.width = width;
  shape.height = height;
  shape.inside.assign(static_cast<size_t>(width) * height, 0);
  RECT rect{};
  GetWindowRect(window, &rect);
  std::vector<RECT> parts{{0, 0, rect.right - rect.left, rect.bottom - rect.top}};
  const HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (region && GetWindowRgn(window, region) != ERROR) {
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    std::vector<char> data(bytes);
    if (bytes && GetRegionData(region, bytes, reinterpret_cast<RGNDATA*>(data.data()))) {
      const auto* header = reinterpret_cast<const RGNDATA*>(data.data());
      const auto* rects = reinterpret_cast<const RECT*>(header->Buffer);
      parts.assign(rects, rects + header->rdh.nCount);
    }
  }
  if (region) DeleteObject(region);
  for (const RECT& part : parts) {
    for (int y = std::max(0, int(part.top + origin.y)); y < std::min(height, int(part.bottom + origin.y)); ++y) {
      for (int x = std::max(0, int(part.left + origin.x)); x < std::min(width, int(part.right + origin.x)); ++x) {
        shape.inside[static_cast<size_t>(y) * width + x] = 1;
      }
    }
  }
  return shape;
}

}  // namespace

CShadowUI::~CShadowUI() {
  if (owner_ && ownerProcedure_) {
    SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ownerProcedure_));
    RemovePropW(owner_, kShadowProperty);
  }
  if (shadow_) DestroyWindow(shadow_);
}

void CShadowUI::Prepare(const WindowAttributes& attributes) {
  show_ = attributes.showShadow;
  SetSize(attributes.shadowSize);
  SetSharpness(attributes.shadowSharpness);
  SetDarkness(attributes.shadowDarkness);
  SetPosition(attributes.shadowPosition.cx, attributes.shadowPosition.cy);
  SetColour(attributes.shadowColour);
  if (!attributes.shadowImage.empty()) SetImage(attributes.shadowImage, attributes.shadowCorner);
}

bool CShadowUI::SetSize(int size) {
  if (size < -kRangeLimit || size > kRangeLimit) return false;
  size_ = size;
  return true;
}

bool CShadowUI::SetSharpness(int sharpness) {
  if (sharpness < 0 || sharpness > kRangeLimit) return false;
  sharpness_ = sharpness;
  return true;
}

bool CShadowUI::SetDarkness(int darkness) {
  if (darkness < 0 || darkness > 255) return false;
  darkness_ = darkness;
  return true;
}

bool CShadowUI::SetPosition(int x, int y) {
  if (x < -kRangeLimit || x > kRangeLimit || y < -kRangeLimit || y > kRangeLimit) return false;
  offset_ = {x, y};
  return true;
}

void CShadowUI::SetImage(const std::wstring& image, const UiRect& corners) {
  image_ = image;
  corners_ = corners;
}

void CShadowUI::Create(CPaintManagerUI* manager) {
  if (!show_ || shadow_ || manager == nullptr || !RegisterShadowClass()) return;
  manager_ = manager;
  owner_ = manager->Window();
  shadow_ = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClass, nullptr, WS_POPUP, 0, 0, 0, 0, owner_,
                            nullptr, CPaintManagerUI::Instance(), nullptr);
  if (shadow_ == nullptr) return;
  SetPropW(owner_, kShadowProperty, this);
  ownerProcedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CShadowUI::FollowProcedure)));
  if (IsWindowVisible(owner_) && !IsIconic(owner_) && !IsZoomed(owner_)) {
    ShowWindow(shadow_, SW_SHOWNOACTIVATE);
    Update();
  }
}

LRESULT CALLBACK CShadowUI::FollowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<CShadowUI*>(GetPropW(window, kShadowProperty));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  const WNDPROC previous = self->ownerProcedure_;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(window, kShadowProperty);
    self->owner_ = nullptr;
    self->ownerProcedure_ = nullptr;
    return CallWindowProcW(previous, window, message, wParam, lParam);
  }
  const LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
  self->Follow(message, wParam, lParam);
  return result;
}

void CShadowUI::Follow(UINT message, WPARAM wParam, LPARAM lParam) {
  if (shadow_ == nullptr) return;
  switch (message) {
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED:
      Move();
      break;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXIMIZED) {
        ShowWindow(shadow_, SW_HIDE);
      } else {
        // A window that grew paints first; its shadow follows at that paint.
        if (LOWORD(lParam) > drawnSize_.cx || HIWORD(lParam) > drawnSize_.cy) updatePending_ = true;
        else Update();
        ShowWindow(shadow_, SW_SHOWNOACTIVATE);
      }
      break;
    case WM_PAINT:
      if (updatePending_) {
        updatePending_ = false;
        Update();
      }
      break;
    case WM_SHOWWINDOW:
      if (wParam && !IsIconic(owner_) && !IsZoomed(owner_)) {
        ShowWindow(shadow_, SW_SHOWNOACTIVATE);
        Update();
      } else if (!wParam) {
        ShowWindow(shadow_, SW_HIDE);
      }
      break;
    case WM_NCACTIVATE:
    case WM_ACTIVATEAPP:
      PlaceBelowOwner();
      break;
    case WM_EXITSIZEMOVE:
    case CPaintManagerUI::kMsgScaleChanged:
      Update();
      break;
    case WM_DESTROY:
      DestroyWindow(shadow_);
      shadow_ = nullptr;
      break;
    default:
      break;
  }
}

void CShadowUI::PlaceBelowOwner() {
  SetWindowPos(shadow_, owner_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int CShadowUI::ScaledSize() const { return manager_ ? manager_->ScaleValue(size_) : size_; }

POINT CShadowUI::ScaledShift() const {
  if (!image_.empty()) return {0, 0};
  return manager_ ? POINT{manager_->ScaleValue(offset_.x), manager_->ScaleValue(offset_.y)} : offset_;
}

void CShadowUI::Move() {
  RECT owner{};
  GetWindowRect(owner_, &owner);
  const POINT shift = ScaledShift();
  const int size = ScaledSize();
  SetWindowPos(shadow_, owner_, owner.left + shift.x - size, owner.top + shift.y - size, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CShadowUI::DrawImageShadow(HDC dc, int width, int height) {
  const ImageDrawing& drawing = manager_->ObtainDrawing(image_, L"");
  const ImageEntry* picture = manager_->ObtainImage(drawing.name, drawing.resType, drawing.mask);
  if (picture == nullptr) return false;
  NineGridStyle style;
  style.corners = ToRect(corners_);
  style.alpha = true;
  style.hole = true;
  const RECT all{0, 0, width, height};
  CRenderKit::DrawImageNineGrid(dc, picture->bitmap, all, all, {0, 0, picture->width, picture->height}, style);
  return true;
}

bool CShadowUI::DrawComputedShadow(void* bits, int width, int height) {
  const int size = ScaledSize();
  const ShadowShape shape = WindowShape(owner_, width, height, {size, size});
  const std::vector<uint8_t> alpha = ComputeShadowAlpha(shape, {darkness_, sharpness_, size});
  const uint32_t red = (colour_ >> 16) & 0xFF, green = (colour_ >> 8) & 0xFF, blue = colour_ & 0xFF;
  auto* pixels = static_cast<uint32_t*>(bits);
  for (size_t i = 0; i < alpha.size(); ++i) {
    // Where the window itself lies the shadow stays clear: the system puts
    // an owned window back above its owner after some z-order changes (made
    // topmost and back), and a filled shadow would then cover the window.
    const uint32_t a = shape.inside[i] ? 0 : alpha[i];
    pixels[i] = (a << 24) | ((red * a / 255) << 16) | ((green * a / 255) << 8) | (blue * a / 255);
  }
  return true;
}

void CShadowUI::Update() {
  if (!show_ || shadow_ == nullptr || owner_ == nullptr || (image_.empty() && size_ == 0)) return;
  if (!IsWindowVisible(owner_) || IsIconic(owner_) || IsZoomed(owner_)) return;
  RECT owner{};
  GetWindowRect(owner_, &owner);
  const int windowWidth = owner.right - owner.left, windowHeight = owner.bottom - owner.top;
  const int margin = ScaledSize();
  const int width = windowWidth + 2 * margin, height = windowHeight + 2 * margin;
  if (width <= 0 || height <= 0) return;
  const HDC screen = GetDC(nullptr);
  COffscreenBitmap surface;
  if (surface.Ensure(screen, width, height)) {
    const bool drawn = image_.empty() ? DrawComputedShadow(surface.Pixels(), width, height)
                                      : DrawImageShadow(surface.Dc(), width, height);
    if (drawn) {
      const POINT shift = ScaledShift();
      POINT position{owner.left + shift.x - margin, owner.top + shift.y - margin};
      SIZE size{width, height};
      POINT source{0, 0};
      BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      UpdateLayeredWindow(shadow_, screen, &position, &size, surface.Dc(), &source, 0, &blend, ULW_ALPHA);
      PlaceBelowOwner();
      drawnSize_ = {windowWidth, windowHeight};
    }
  }
  surface.Release();
  ReleaseDC(nullptr, screen);
}

}  // namespace SkinUI
