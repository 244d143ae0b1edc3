// Where the drawing routines draw: the DC, and the window's pictures, parsed
// drawing strings and fonts behind a small interface, so that the renderer
// knows nothing of the window that owns them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/dpi/dpi_scaler.h"
#include "ui/markup/window_attributes.h"
#include "ui/render/image_drawing.h"
#include "ui/resources/font_entry.h"
#include "ui/resources/image_entry.h"

namespace SkinUI {

class IPaintResources {
 public:
  // Pictures: the window's map first, then the shared one; loaded on a miss.
  virtual const ImageEntry* ObtainImage(const std::wstring& name, const std::wstring& resType = {}, uint32_t mask = 0,
                                        bool useHsl = false, HMODULE module = nullptr) = 0;
  // The drawing string (with its modifier) parsed, once per window.
  virtual const ImageDrawing& ObtainDrawing(const std::wstring& drawString, const std::wstring& modifier) = 0;
  virtual HFONT FontById(int id) const = 0;
  // The entry behind FontById; none when the system's default GUI font answers.
  virtual const FontEntry* FontInfoById(int id) const = 0;
  virtual const WindowAttributes& Attributes() const = 0;
  // The window's scale, for the lengths its attributes keep at 100 %.
  virtual const CDpiScaler& Dpi() const = 0;
  // Painting with per-pixel alpha: text and pictures must blend.
  virtual bool IsLayered() const = 0;

 protected:
  ~IPaintResources() = default;
};

class CDrawingSurface {
 public:
  // `resources` may be absent (a control not yet in a window): the routines
  // that need pictures or fonts then draw nothing.
  CDrawingSurface(HDC dc, IPaintResources* resources) : dc_(dc), resources_(resources) {}
  HDC Dc() const { return dc_; }
  IPaintResources* Resources() const { return resources_; }

 private:
  HDC dc_;
  IPaintResources* resources_;
};

}  // namespace SkinUI
