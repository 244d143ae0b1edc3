// A label that breaks its text into lines, with a little side padding.
#pragma once

#include "ui/controls/label/label_ui.h"

namespace SkinUI {

class CTextUI : public CLabelUI {
 public:
  CTextUI();

  const wchar_t* ControlClass() const override { return L"TextUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  // Links exist only in tag text, which this framework does not draw.
  UINT ControlFlags() const override { return 0; }
};

}  // namespace SkinUI
