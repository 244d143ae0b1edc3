// Children side by side; the ones without a width share the rest.
#pragma once

#include "ui/containers/container_ui.h"

namespace SkinUI {

class CHorizontalLayoutUI : public CContainerUI {
 public:
  const wchar_t* ControlClass() const override { return L"HorizontalLayoutUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  // With "autocalcwidth": the fixed widths of the children summed.
  SIZE MeasureSize(SIZE available) override;
  bool IsExpandBalance() const { return expandBalance_; }

 protected:
  void ArrangeChildren(const UiRect& inner) override;

 private:
  int separatorWidth_ = 0;
  bool separatorImmediate_ = false;
  bool autoCalcWidth_ = false;
  bool expandBalance_ = false;
};

}  // namespace SkinUI
