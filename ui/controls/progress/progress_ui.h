// A bar that fills from the left (or from the bottom) in proportion to its
// value: the foreground image or colour covers the filled part.
#pragma once

#include "ui/controls/label/label_ui.h"

namespace SkinUI {

class CProgressUI : public CLabelUI {
 public:
  CProgressUI();

  const wchar_t* ControlClass() const override { return L"ProgressUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void FillForeColour(HDC dc) override;
  void DrawForeImage(HDC dc) override;

  // Runs after every change of the value.
  virtual void OnValueChanged();

  int ProgressValue() const { return value_; }
  int ProgressMin() const { return min_; }
  int ProgressMax() const { return max_; }
  // Ignored when equal to the value or outside the range.
  void ChangeValue(int value);
  void SetMin(int min);
  void SetMax(int max);
  void SetShowPercentage(bool on) { showPercentage_ = on; }

  // The foreground image's modifier for a bar of this size at this scale:
  // the filled part as "dest" (and "source" without stretching), at 100 %.
  static std::wstring ForeModifier(int width, int height, int value, int min, int max, bool horizontal, bool stretch,
                                   int scale);

 private:
  // min < max, min <= value <= max, written back.
  void MakeConsistent();

  bool horizontal_ = true;
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
  bool stretchFore_ = true;
  bool showPercentage_ = false;
};

}  // namespace SkinUI
