// Turns numbers written for 96 DPI (100 %) into pixels for the window's
// scale. Pure arithmetic: the monitor queries live with the window code.
#pragma once

#include "ui/geometry/ui_rect.h"

namespace SkinUI {

// n * numerator / denominator rounded to the nearest integer, halves away
// from zero, computed in 64 bits (the rounding of the system's MulDiv).
// A zero denominator gives -1, as MulDiv does.
int MulDivRound(int n, int numerator, int denominator);

// The DPI steps the skin has pictures for: below 96 unchanged, else 96,
// 120, 144, 168 or 192 (100 to 200 %), rounding down between steps.
int QuantiseDpi(int dpi);

// The scale of the picture step a window at `scale` percent draws its
// raster pictures from: 225 % and 300 % take 200 %, 140 % takes 125 %.
int PictureStepScale(int scale);

// The DPI that the ratio of the display's pixel width to the width the
// desktop's monitor reports suggests: above 1 and below 1.5 gives 120, up to
// 1.75 gives 144, up to 2 gives 168, 2 and above 192. A ratio of 1 or less
// gives 0 (the monitor's own DPI is the answer then); no ratio gives 96.
int DpiFromDisplayRatio(int displayWidth, int monitorWidth);

class CDpiScaler {
 public:
  enum Awareness { kUnaware = 0, kSystemAware = 1, kPerMonitorAware = 2 };

  int Scale() const;  // the current scale in percent
  int ScaleValue(int n) const;
  int UnscaleValue(int n) const;
  UiSize ScaleSize(UiSize size) const;
  // Keeps the scaled width and height even where the corners round differently.
  UiRect ScaleRect(const UiRect& rect) const;
  int Dpi() const;
  void SetDpi(int dpi);
  void SetAwareness(Awareness awareness) { awareness_ = awareness; }

 private:
  int monitorScale_ = 100;
  int systemScale_ = 100;
  Awareness awareness_ = kPerMonitorAware;
};

}  // namespace SkinUI
