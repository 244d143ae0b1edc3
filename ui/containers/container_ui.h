// A control that holds children: it owns them, passes the manager,
// visibility and initialisation down, paints them and routes searches and
// hit tests into them. The plain container gives every child its whole
// inner area; the layouts derive from it and arrange the children otherwise.
#pragma once

#include <memory>
#include <vector>

#include "ui/containers/container_interface.h"
#include "ui/containers/layout_arithmetic.h"
#include "ui/controls/control_ui.h"
#include "ui/controls/scrollbar/scroll_bar_ui.h"
#include "ui/geometry/rect_conversion.h"

namespace SkinUI {

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  CContainerUI() = default;
  ~CContainerUI() override;

  const wchar_t* ControlClass() const override { return L"ContainerUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;

  // IContainerUI
  CControlUI* ItemAt(int index) const override;
  int IndexOfItem(CControlUI* control) const override;
  bool MoveItemTo(CControlUI* control, int index) override;
  int ItemCount() const override { return static_cast<int>(items_.size()); }
  // Takes ownership of the control (the raw pointer is the interface's form).
  bool AddItem(CControlUI* control) override;
  bool AddItem(std::unique_ptr<CControlUI> control);
  bool AddItemAt(CControlUI* control, int index) override;
  bool RemoveItem(CControlUI* control) override;
  bool RemoveItemAt(int index) override;
  void RemoveAllItems() override;

  virtual RECT Inset() const;  // scaled when the scale-inset flag is set
  virtual void SetInset(const RECT& inset);
  virtual bool IsScaleInset() const { return scaleInset_; }
  virtual void SetScaleInset(bool on);
  virtual bool IsScaleChildPadding() const { return scaleChildPadding_; }
  virtual void SetScaleChildPadding(bool on);
  virtual int ChildPadding() const;        // the gap of horizontal layouts
  virtual int ChildPaddingSecond() const;  // the gap of vertical layouts
  virtual void SetChildPadding(int horizontal, int vertical);
  // The child's own float alignment when it has one, else the container's.
  virtual int ChildAlign(const CControlUI* child) const;
  virtual void SetChildAlign(int align);
  virtual int ChildVAlign() const { return childVAlign_; }
  virtual void SetChildVAlign(int align);
  virtual bool IsAutoDestroy() const { return autoDestroy_; }
  virtual void SetAutoDestroy(bool on) { autoDestroy_ = on; }
  virtual bool IsDelayedDestroy() const { return delayedDestroy_; }
  virtual void SetDelayedDestroy(bool on) { delayedDestroy_ = on; }
  virtual bool IsMouseChildEnabled() const { return mouseChild_; }
  virtual void SetMouseChildEnabled(bool on) { mouseChild_ = on; }
  // True when the control lies anywhere below this container.
  virtual bool ContainsControl(const CControlUI* control) const;
  virtual void PlaceFloatChild(int index);

  // Scrolling: with a bar enabled, content larger than the inner rectangle
  // moves under it; the bar shows only while there is something to scroll.
  virtual SIZE ScrollPos() const { return scroll_; }
  // How far the content can move in each direction.
  virtual SIZE ScrollRangeSize() const;
  // Moves the content (held inside the range) and sends "scroll" with the
  // vertical position in wParam and the horizontal one in lParam.
  virtual void SetScrollPos(SIZE position);
  virtual void SetScrollStepSize(int step) { scrollStep_ = step; }
  virtual int ScrollStepSize() const;  // scaled
  virtual void SetScrollBarsOverlay(bool on);
  virtual bool IsScrollBarsOverlay() const { return scrollOverlay_; }
  // One move along one direction: lines by the step size, pages by the view.
  void Scroll(ScrollMove move, bool vertical);
  virtual void EnableScrollBars(bool vertical, bool horizontal);
  CScrollBarUI* VerticalScrollBar() const { return vBar_.get(); }
  CScrollBarUI* HorizontalScrollBar() const { return hBar_.get(); }

  void PlaceAt(RECT rect, bool invalidate = true) override;
  void HandleEvent(InputEvent& event) override;
  void Show(bool visible = true) override;
  void SetVisibleByParent(bool visible) override;
  void AttachManager(IControlHost* manager, CControlUI* parent, bool init) override;
  CControlUI* FindControlBy(FindTest test, void* data, UINT flags) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  bool DoPaintControl(HDC dc, const RECT& dirty, CControlUI* stopControl) override;

  // The item rectangle less the inset and less the room of a shown scroll
  // bar (unless the bars lie over the content).
  RECT InnerRect() const;

 protected:
  // Places the children inside `inner` after the container itself was placed.
  virtual void ArrangeChildren(const UiRect& inner);
  // What each child asks for, scaled, in item order.
  std::vector<LayoutRequest> LayoutRequests() const;
  // Places every child that `rects` gives a rectangle (moved by the scroll
  // position) and every visible floating child; `inner` is the rectangle
  // they were arranged in, from which the content's extent is taken.
  void ApplyArrangement(const LayoutResult& rects, const UiRect& inner);
  // Arranges the children and fits the scroll bars to the content.
  virtual void LayOutContent();
  // A moved bar's new position; the plain container moves its children.
  virtual void OnScrollBarMoved(bool horizontal, int position);
  // For a control that scrolls its content by itself (the rich edit): the
  // bars shown whatever the children's extent.
  void SetScrollBarsShown(bool vertical, bool horizontal);
  // The scroll bars' places and ranges after an arrangement.
  void PlaceScrollBars();
  // The content's extent of the last arrangement.
  SIZE ContentSize() const { return content_; }
  // The inner rectangle of `ArrangeChildren` and of painting.
  virtual RECT ArrangeArea() const { return InnerRect(); }
  const RECT& UnscaledInset() const { return inset_; }

  std::vector<std::unique_ptr<CControlUI>> items_;

 private:
  bool PaintChildren(HDC dc, const RECT& dirty, CControlUI* stopControl);
  std::unique_ptr<CScrollBarUI> MakeScrollBar(bool horizontal);
  void ApplyScrollBarStyle(CScrollBarUI* bar, const std::wstring& style);
  bool HandleScrollKey(WPARAM key);

  RECT inset_{};
  bool scaleInset_ = true;
  bool scaleChildPadding_ = false;
  int childPadding_ = 0;
  int childPaddingSecond_ = 0;
  int childAlign_ = 0;
  int childVAlign_ = 0;
  bool autoDestroy_ = true;
  bool delayedDestroy_ = true;
  bool mouseChild_ = true;

  std::unique_ptr<CScrollBarUI> vBar_;
  std::unique_ptr<CScrollBarUI> hBar_;
  std::wstring vBarStyle_, hBarStyle_;
  bool vShown_ = false;
  bool hShown_ = false;
  bool scrollOverlay_ = false;
  int scrollStep_ = 60;
  SIZE scroll_{};
  SIZE content_{};
};

}  // namespace SkinUI
