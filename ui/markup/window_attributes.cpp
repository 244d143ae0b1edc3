#include "ui/markup/window_attributes.h"

#include <algorithm>

#include "ui/markup/value_formats.h"

namespace SkinUI {

namespace {

int ParseByte(std::wstring_view value) { return std::clamp(ParseInteger(value), 0, 255); }

}  // namespace

bool ApplyWindowAttribute(WindowAttributes& a, std::wstring_view name, std::wstring_view value) {
  if (name == L"size") a.initialSize = ParseSize(value);
  else if (name == L"mininfo") a.minInfo = ParseSize(value);
  else if (name == L"maxinfo") a.maxInfo = ParseSize(value);
  else if (name == L"caption") a.caption = ParseRect(value);
  else if (name == L"sizebox") a.sizeBox = ParseRect(value);
  else if (name == L"sizeboxinset") a.sizeBoxInset = ParseRect(value);
  else if (name == L"roundcorner") a.roundCorner = ParseSize(value);
  else if (name == L"showdirty") a.showDirty = ParseBool(value);
  else if (name == L"opacity" || name == L"alpha") a.opacity = ParseByte(value);
  else if (name == L"layeredopacity") a.layeredOpacity = ParseByte(value);
  else if (name == L"layered" || name == L"bktrans") a.layered = ParseBool(value);
  else if (name == L"layeredimage") { a.layeredImage.assign(value); a.layered = true; }
  else if (name == L"noactivate") a.noActivate = ParseBool(value);
  else if (name == L"disabledfontcolor") a.disabledFontColour = ParseColour(value);
  else if (name == L"defaultfontcolor") a.defaultFontColour = ParseColour(value);
  else if (name == L"linkfontcolor") a.linkFontColour = ParseColour(value);
  else if (name == L"linkhoverfontcolor") a.linkHoverFontColour = ParseColour(value);
  else if (name == L"selectedcolor") a.selectedColour = ParseColour(value);
  else if (name == L"shadowsize") a.shadowSize = ParseInteger(value);
  else if (name == L"shadowsharpness") a.shadowSharpness = ParseInteger(value);
  else if (name == L"shadowdarkness") a.shadowDarkness = ParseInteger(value);
  else if (name == L"shadowposition") a.shadowPosition = ParseSize(value);
  else if (name == L"shadowcolor") a.shadowColour = ParseColour(value);
  else if (name == L"shadowcorner") a.shadowCorner = ParseRect(value);
  else if (name == L"shadowimage") a.shadowImage.assign(value);
  else if (name == L"showshadow") a.showShadow = ParseBool(value);
  else if (name == L"gdiplustext") a.gdiplusText = ParseBool(value);
  else if (name == L"textdesigner") a.textDesigner = ParseBool(value);
  else if (name == L"textoutlinecolor") a.textOutlineColour = ParseColour(value);
  else if (name == L"textoutlinesize") a.textOutlineSize = std::clamp(ParseInteger(value), 0, 16);
  else if (name == L"textrenderinghint") a.textRenderingHint = ParseInteger(value);
  else if (name == L"textrenderdouble") a.textRenderDouble = ParseBool(value);
  else if (name == L"tooltiphovertime") a.toolTipHoverTime = ParseInteger(value);
  else if (name == L"tooltipbkcolor") a.toolTipBkColour = ParseColour(value);
  else if (name == L"tooltiptextcolor") a.toolTipTextColour = ParseColour(value);
  else if (name == L"dockwnd") a.dockWindow = ParseBool(value);
  else if (name == L"normaltab") a.normalTab = ParseBool(value);
  else if (name == L"autodpi") a.autoDpi = ParseBool(value);
  else if (name == L"KillFocusSendButtonUp") a.killFocusSendsButtonUp = ParseBool(value);
  else if (name == L"DlgBlur") a.blur = ParseBool(value);
  else if (name == L"switchres") a.switchResources = ParseInteger(value);
  else if (name == L"hsl") a.hsl = ParseHslAdjustment(value);
  else return false;
  return true;
}

}  // namespace SkinUI
