#include "ui/controls/progress/progress_ui.h"

#include <cstdio>
#include <cwchar>

#include "ui/dpi/dpi_scaler.h"
#include "ui/markup/value_formats.h"
#include "ui/render/render_kit.h"
#include "base/text_rules.h"
#include "base/format_text.h"

namespace SkinUI {

CProgressUI::CProgressUI() {
  SetTextStyle(DT_SINGLELINE | DT_CENTER);
  SetFixedHeight(12);
}

void* CProgressUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, L"Progress") == 0) return this;
  return CLabelUI::QueryInterfaceUI(name);
}

void CProgressUI::ApplyAttribute(const wchar_t* rawName, const wchar_t* rawValue) {
  const std::wstring name = rawName ? rawName : L"";
  const std::wstring value = rawValue ? rawValue : L"";
  if (name == L"hor") { horizontal_ = ParseBool(value); Invalidate(); }
  else if (name == L"min") SetMin(ParseInteger(value));
  else if (name == L"max") SetMax(ParseInteger(value));
  else if (name == L"value") ChangeValue(ParseInteger(value));
  else if (name == L"isstretchfore") { stretchFore_ = ParseBool(value); Invalidate(); }
  else CLabelUI::ApplyAttribute(rawName, rawValue);
}

void CProgressUI::ChangeValue(int value) {
  if (value == value_ || value < min_ || value > max_) return;
  value_ = value;
  Invalidate();
  OnValueChanged();
}

void CProgressUI::SetMin(int min) {
  min_ = min;
  Invalidate();
}

void CProgressUI::SetMax(int max) {
  max_ = max;
  Invalidate();
}

void CProgressUI::OnValueChanged() {
  if (!showPercentage_) return;
  ChangeText(FixedDecimalText((value_ - min_) * 100.0 / (max_ - min_), 0) + L"%");
}

void CProgressUI::MakeConsistent() {
  if (min_ >= max_) max_ = min_ + 1;
  if (value_ > max_) value_ = max_;
  if (value_ < min_) value_ = min_;
}

std::wstring CProgressUI::ForeModifier(int width, int height, int value, int min, int max, bool horizontal,
                                       bool stretch, int scale) {
  int fillWidth = width, topOffset = 0;
  if (horizontal) fillWidth = width * (value - min) / (max - min);
  else topOffset = (max - value) * height / (max - min);
  const auto unscale = [scale](int n) { return MulDivRound(n, 100, scale); };
  const int top = unscale(topOffset);
  const int right = unscale(fillWidth);
  const int bottom = unscale(height - topOffset) + unscale(topOffset);
  if (stretch) return FormatText(L"dest='%d,%d,%d,%d'", 0, top, right, bottom);
  return FormatText(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", 0, top, right, bottom, 0, top, right, bottom);
}

void CProgressUI::DrawForeImage(HDC dc) {
  MakeConsistent();
  if (ForeImage().empty()) return;
  const int scale = manager_ ? manager_->Scale() : 100;
  DrawImage(dc, ForeImage(),
            ForeModifier(Width(), Height(), value_, min_, max_, horizontal_, stretchFore_, scale));
}

void CProgressUI::FillForeColour(HDC dc) {
  MakeConsistent();
  if (ForeColor() == 0 || !horizontal_) return;
  RECT filled = item_;
  filled.right = item_.left + Width() * (value_ - min_) / (max_ - min_);
  CRenderKit::DrawColor(dc, filled, AdjustColour(ForeColor()));
}

}  // namespace SkinUI
