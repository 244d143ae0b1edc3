// A label that breaks its text into lines, with a little side padding.
// With "showhtml" its tag text may hold links: the hand cursor shows over
// them and a click (press and release on the same link) sends "link" with
// the link's index in wParam; `LinkTarget` gives the link's target.
#pragma once

#include <string>

#include "ui/controls/label/label_ui.h"

namespace SkinUI {

class CTextUI : public CLabelUI {
 public:
  CTextUI();

  const wchar_t* ControlClass() const override { return L"TextUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  UINT ControlFlags() const override;
  void HandleEvent(InputEvent& event) override;

  int LinkCount() const;
  // The target written in the link's tag (empty when none was written).
  std::wstring LinkTarget(int index) const;

 private:
  // The link under the point, -1 when none.
  int LinkAt(POINT point) const;

  int pressedLink_ = -1;
};

}  // namespace SkinUI
