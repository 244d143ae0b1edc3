// A drawn scroll bar: a track (the control's own background colour or
// picture) and a thumb whose length shows the view's share of the content.
// Dragging the thumb and clicking the track move the position; the owner
// (a container, a rich edit) hears every change through `onScrolled` and
// moves its content. Wheel and key events go on to the owner.
#pragma once

#include <functional>
#include <string>

#include "ui/controls/control_ui.h"
#include "ui/controls/scrollbar/scroll_arithmetic.h"

namespace SkinUI {

class CScrollBarUI : public CControlUI {
 public:
  CScrollBarUI() = default;

  const wchar_t* ControlClass() const override { return L"ScrollBarUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  void HandleEvent(InputEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void DrawForeImage(HDC dc) override;

  bool IsHorizontal() const { return horizontal_; }
  void SetHorizontal(bool on);
  // The bar's thickness across its track, scaled (its fixed width or
  // height, 10 at 100 % when none is set).
  int Thickness() const;
  // The content and view lengths along the track, and the position.
  void SetRange(int content, int view);
  int Range() const { return ScrollRange(content_, view_); }
  int Position() const { return position_; }
  // The owner's step: a page is the view less one step, as for the keys.
  void SetLineSize(int size) { lineSize_ = size; }
  // Moves the thumb without telling the owner (the owner moved already).
  void SetPosition(int position);
  // The thumb's rectangle in window coordinates.
  RECT ThumbRect() const;

  // Told the new position when the user moves the bar.
  std::function<void(int position)> onScrolled;

 private:
  void MoveTo(int position);
  int TrackLength() const;
  int AlongTrack(POINT point) const;

  bool horizontal_ = false;
  int content_ = 0;
  int view_ = 0;
  int position_ = 0;
  int lineSize_ = 0;
  bool thumbHot_ = false;
  bool dragging_ = false;
  int dragStartPoint_ = 0;
  int dragStartOffset_ = 0;
  uint32_t thumbColour_ = 0xFFB0B0B0;
  uint32_t thumbHotColour_ = 0;
  uint32_t thumbPushedColour_ = 0;
  std::wstring thumbImage_, thumbHotImage_, thumbPushedImage_;
};

}  // namespace SkinUI
