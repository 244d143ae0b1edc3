// Shared pieces of the UI framework's tests: the skin fixture held in
// memory, a hidden window for the manager, a 32-bit canvas whose pixels the
// tests read, and a minimal container.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

#include "base/module_resource.h"
#include "ui/containers/container_interface.h"
#include "ui/controls/control_ui.h"
#include "ui/host/paint_manager_ui.h"
#include "ui/render/gdiplus_session.h"
#include "ui/resources/offscreen_bitmap.h"

namespace SkinUI {

// The fixture archive (resource ZIP 249) as the skin source of the process.
inline bool UseFixtureSkin() {
  ResourceView view;
  if (FindModuleResource(L"ZIP", MAKEINTRESOURCEW(249), view) != ResourceStatus::kFound) return false;
  CPaintManagerUI::UseSkinZipInMemory(view.data, view.size, L"");
  return true;
}

// A hidden top-level window of a system class.
class HiddenWindow {
 public:
  HiddenWindow()
      : window_(CreateWindowExW(0, L"STATIC", L"ui test", WS_POPUP, 0, 0, 640, 500, nullptr, nullptr, nullptr,
                                nullptr)) {}
  ~HiddenWindow() {
    if (window_) DestroyWindow(window_);
  }
  HiddenWindow(const HiddenWindow&) = delete;
  HiddenWindow& operator=(const HiddenWindow&) = delete;
  HWND Get() const { return window_; }

 private:
  HWND window_;
};

// A white 32-bit top-down bitmap in a memory DC.
class DibCanvas {
 public:
  DibCanvas(int width, int height) : width_(width), height_(height) {
    surface_.Ensure(nullptr, width, height);
    bits_ = surface_.Pixels();
    Fill(0xFFFFFFFF);
  }

  HDC Dc() const { return surface_.Dc(); }
  void Fill(uint32_t pixel) {
    GdiFlush();
    std::fill(bits_, bits_ + width_ * height_, pixel);
  }
  // The colour as 0xRRGGBB, alpha left out.
  uint32_t Rgb(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x] & 0xFFFFFF;
  }
  // The bounding box of every pixel that is not white; empty when none.
  RECT InkBounds() const {
    GdiFlush();
    RECT box{width_, height_, -1, -1};
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        if ((bits_[y * width_ + x] & 0xFFFFFF) == 0xFFFFFF) continue;
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
    }
    return box.right < 0 ? RECT{} : box;
  }

 private:
  int width_, height_;
  COffscreenBitmap surface_;
  uint32_t* bits_ = nullptr;
};

// The pixels of a picture's bitmap, top row first.
inline std::vector<uint32_t> BitmapPixels(HBITMAP bitmap) {
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof(info), &info) || !info.bmBits) return {};
  const auto* first = static_cast<const uint32_t*>(info.bmBits);
  return std::vector<uint32_t>(first, first + info.bmWidth * info.bmHeight);
}

// A control that holds children in order and owns them.
class TestBox : public CControlUI, public IContainerUI {
 public:
  ~TestBox() override {
    for (CControlUI* item : items_) delete item;
  }
  void* QueryInterfaceUI(const wchar_t* name) override {
    if (std::wcscmp(name, kContainerInterfaceName) == 0) return static_cast<IContainerUI*>(this);
    return CControlUI::QueryInterfaceUI(name);
  }
  CControlUI* ItemAt(int index) const override {
    return index >= 0 && index < ItemCount() ? items_[static_cast<size_t>(index)] : nullptr;
  }
  int IndexOfItem(CControlUI* control) const override {
    const auto found = std::find(items_.begin(), items_.end(), control);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
  }
  bool MoveItemTo(CControlUI*, int) override { return false; }
  int ItemCount() const override { return static_cast<int>(items_.size()); }
  bool AddItem(CControlUI* control) override {
    if (control == nullptr || refuse_) return false;
    items_.push_back(control);
    return true;
  }
  bool AddItemAt(CControlUI* control, int) override { return AddItem(control); }
  bool RemoveItem(CControlUI*) override { return false; }
  bool RemoveItemAt(int) override { return false; }
  void RemoveAllItems() override {}
  void RefuseItems() { refuse_ = true; }
  std::vector<std::wstring> ItemNames() const {
    std::vector<std::wstring> names;
    for (CControlUI* item : items_) names.push_back(item->ControlName());
    return names;
  }

 private:
  std::vector<CControlUI*> items_;
  bool refuse_ = false;
};

}  // namespace SkinUI
