// A drop shadow in its own layered window below the main window, following
// it: drawn from a nine-grid picture, or computed from the window's shape.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/geometry/ui_rect.h"
#include "ui/host/window_shadow.h"

namespace SkinUI {

class CShadowUI : public IWindowShadow {
 public:
  CShadowUI() = default;
  ~CShadowUI();
  CShadowUI(const CShadowUI&) = delete;
  CShadowUI& operator=(const CShadowUI&) = delete;

  void Prepare(const WindowAttributes& attributes) override;
  void Create(CPaintManagerUI* manager) override;

  void ShowShadow(bool show) { show_ = show; }
  bool IsShown() const { return show_; }
  bool SetSize(int size);
  bool SetSharpness(int sharpness);
  bool SetDarkness(int darkness);
  bool SetPosition(int x, int y);
  void SetColour(uint32_t colour) { colour_ = colour; }
  void SetImage(const std::wstring& image, const UiRect& corners);
  HWND ShadowWindow() const { return shadow_; }

 private:
  static LRESULT CALLBACK FollowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Follow(UINT message, WPARAM wParam, LPARAM lParam);
  void Update();
  void Move();
  void PlaceBelowOwner();
  // The shadow's width and offset are written for 100 % and follow the
  // window's scale, so a window taken to another DPI keeps its look.
  int ScaledSize() const;
  POINT ScaledShift() const;
  // Draws the bitmap for a window of this size; false when nothing is drawn.
  bool DrawImageShadow(HDC dc, int width, int height);
  bool DrawComputedShadow(void* bits, int width, int height);

  CPaintManagerUI* manager_ = nullptr;
  HWND owner_ = nullptr;
  HWND shadow_ = nullptr;
  WNDPROC ownerProcedure_ = nullptr;
  bool show_ = false;
  int darkness_ = 150;
  int sharpness_ = 5;
  int size_ = 0;
  POINT offset_{};
  uint32_t colour_ = 0;
  std::wstring image_;
  UiRect corners_;
  SIZE drawnSize_{};
  bool updatePending_ = false;
};

}  // namespace SkinUI
