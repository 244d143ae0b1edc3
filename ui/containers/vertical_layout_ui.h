// Children stacked top to bottom; the ones without a height share the rest.
#pragma once

#include "ui/containers/container_ui.h"

namespace SkinUI {

class CVerticalLayoutUI : public CContainerUI {
 public:
  const wchar_t* ControlClass() const override { return L"VerticalLayoutUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  // With "autocalcheight": the fixed heights of the children summed.
  SIZE MeasureSize(SIZE available) override;

 protected:
  void ArrangeChildren(const UiRect& inner) override;

 private:
  int separatorHeight_ = 0;
  bool separatorImmediate_ = false;
  bool autoCalcHeight_ = false;
};

}  // namespace SkinUI
