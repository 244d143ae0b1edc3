// The attributes of a markup's root `Window` element, as the window's paint
// manager keeps them. Sizes are stored at 100 % and scaled where they are used.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/geometry/ui_rect.h"
#include "ui/markup/hsl_adjustment.h"

namespace SkinUI {

struct WindowAttributes {
  UiSize initialSize;
  UiSize minInfo;
  UiSize maxInfo;
  UiRect caption;
  UiRect sizeBox;
  UiRect sizeBoxInset;
  UiSize roundCorner;
  bool showDirty = false;
  int opacity = 255;
  int layeredOpacity = 255;
  bool layered = false;
  std::wstring layeredImage;
  bool noActivate = false;
  uint32_t disabledFontColour = 0xFFA7A6AA;
  uint32_t defaultFontColour = 0xFF000000;
  uint32_t linkFontColour = 0xFF0000FF;
  uint32_t linkHoverFontColour = 0xFFD3215F;
  uint32_t selectedColour = 0xFFBAE4FF;
  int shadowSize = 0;
  int shadowSharpness = 5;
  int shadowDarkness = 150;
  UiSize shadowPosition;
  uint32_t shadowColour = 0;
  UiRect shadowCorner;
  std::wstring shadowImage;
  bool showShadow = false;
  bool gdiplusText = false;
  bool textDesigner = false;
  // Outlined text: the outline's colour and width (at 100 %).
  uint32_t textOutlineColour = 0xFF000000;
  int textOutlineSize = 1;
  int textRenderingHint = 0;
  bool textRenderDouble = false;
  int toolTipHoverTime = 400;
  uint32_t toolTipBkColour = 0;
  uint32_t toolTipTextColour = 0;
  bool dockWindow = false;
  bool normalTab = true;
  bool autoDpi = false;
  bool killFocusSendsButtonUp = false;
  bool blur = false;
  // The entry of every control's switch lists the tree takes when it is
  // attached; none when negative.
  int switchResources = -1;
  // What pictures flagged "hsl" and controls with "colorhsl" pass through.
  HslAdjustment hsl;
};

// Stores one attribute; false (and nothing changed) for a name that a
// `Window` element does not have.
bool ApplyWindowAttribute(WindowAttributes& attributes, std::wstring_view name, std::wstring_view value);

}  // namespace SkinUI
