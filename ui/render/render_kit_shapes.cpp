// Colours, gradients, lines and frames. GDI+ draws them so that colours
// with partial alpha blend with what is below.
#include <windows.h>
#include <gdiplus.h>

#include <algorithm>

#include "ui/render/render_kit.h"

namespace SkinUI {

namespace {

Gdiplus::Color ToColor(uint32_t argb) { return Gdiplus::Color(static_cast<Gdiplus::ARGB>(argb)); }

Gdiplus::DashStyle ToDashStyle(int penStyle) {
  switch (penStyle) {
    case PS_DASH: return Gdiplus::DashStyleDash;
    case PS_DOT: return Gdiplus::DashStyleDot;
    case PS_DASHDOT: return Gdiplus::DashStyleDashDot;
    case PS_DASHDOTDOT: return Gdiplus::DashStyleDashDotDot;
    default: return Gdiplus::DashStyleSolid;
  }
}

// A rectangle with quarter arcs of the corner ellipse at its corners; a
// whole ellipse when the corners meet.
void AddRoundedRect(Gdiplus::GraphicsPath& path, const RECT& rect, int cornerWidth, int cornerHeight) {
  const INT left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  const INT width = right - left, height = bottom - top;
  if (cornerWidth * 2 >= width && cornerHeight * 2 >= height) {
    path.AddEllipse(left, top, width, height);
    return;
  }
  const INT w = std::min(cornerWidth * 2, width), h = std::min(cornerHeight * 2, height);
  path.AddArc(left, top, w, h, 180, 90);
  path.AddLine(left + w / 2, top, right - w / 2, top);
  path.AddArc(right - w, top, w, h, 270, 90);
  path.AddLine(right, top + h / 2, right, bottom - h / 2);
  path.AddArc(right - w, bottom - h, w, h, 0, 90);
  path.AddLine(right - w / 2, bottom, left + w / 2, bottom);
  path.AddArc(left, bottom - h, w, h, 90, 90);
  path.CloseFigure();
}

}  // namespace

void CRenderKit::DrawColor(HDC dc, const RECT& rect, uint32_t colour, int cornerWidth, int cornerHeight) {
  if ((colour >> 24) == 0 || rect.right <= rect.left || rect.bottom <= rect.top) return;
  Gdiplus::Graphics graphics(dc);
  Gdiplus::SolidBrush brush(ToColor(colour));
  if (cornerWidth <= 0 && cornerHeight <= 0) {
    graphics.FillRectangle(&brush, static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                           static_cast<INT>(rect.right - rect.left), static_cast<INT>(rect.bottom - rect.top));
    return;
  }
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  Gdiplus::GraphicsPath path;
  AddRoundedRect(path, rect, cornerWidth, cornerHeight);
  Gdiplus::Pen pen(ToColor(colour), 1.0f);
  graphics.DrawPath(&pen, &path);
  graphics.FillPath(&brush, &path);
}

void CRenderKit::DrawGradient(HDC dc, const RECT& rect, uint32_t from, uint32_t to, bool vertical, int steps) {
  const int length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
  if (steps <= 0 || length <= 0) return;
  steps = std::min(steps, length);
  for (int i = 0; i < steps; ++i) {
    uint32_t colour = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const int a = static_cast<int>((from >> shift) & 0xFF), b = static_cast<int>((to >> shift) & 0xFF);
      const int channel = steps == 1 ? a : a + (b - a) * i / (steps - 1);
      colour |= static_cast<uint32_t>(channel) << shift;
    }
    RECT band = rect;
    const int start = length * i / steps, end = length * (i + 1) / steps;
    if (vertical) {
      band.top = rect.top + start;
      band.bottom = rect.top + end;
    } else {
      band.left = rect.left + start;
      band.right = rect.left + end;
    }
    DrawColor(dc, band, colour);
  }
}

void CRenderKit::DrawLine(HDC dc, POINT from, POINT to, int width, uint32_t colour, int penStyle) {
  if ((colour >> 24) == 0 || width <= 0) return;
  Gdiplus::Graphics graphics(dc);
  Gdiplus::Pen pen(ToColor(colour), static_cast<Gdiplus::REAL>(width));
  pen.SetDashStyle(ToDashStyle(penStyle));
  graphics.DrawLine(&pen, static_cast<INT>(from.x), static_cast<INT>(from.y), static_cast<INT>(to.x),
                    static_cast<INT>(to.y));
}

void CRenderKit::DrawRect(HDC dc, const RECT& rect, int width, uint32_t colour, int penStyle) {
  if ((colour >> 24) == 0 || width <= 0) return;
  if (penStyle == PS_SOLID) {
    // Four strips inside the rectangle: exact pixels at any width.
    DrawColor(dc, {rect.left, rect.top, rect.right, rect.top + width}, colour);
    DrawColor(dc, {rect.left, rect.bottom - width, rect.right, rect.bottom}, colour);
    DrawColor(dc, {rect.left, rect.top + width, rect.left + width, rect.bottom - width}, colour);
    DrawColor(dc, {rect.right - width, rect.top + width, rect.right, rect.bottom - width}, colour);
    return;
  }
  Gdiplus::Graphics graphics(dc);
  Gdiplus::Pen pen(ToColor(colour), static_cast<Gdiplus::REAL>(width));
  pen.SetDashStyle(ToDashStyle(penStyle));
  const Gdiplus::REAL inset = static_cast<Gdiplus::REAL>(width) / 2;
  graphics.DrawRectangle(&pen, static_cast<Gdiplus::REAL>(rect.left) + inset, static_cast<Gdiplus::REAL>(rect.top) + inset,
                         static_cast<Gdiplus::REAL>(rect.right - rect.left) - 2 * inset,
                         static_cast<Gdiplus::REAL>(rect.bottom - rect.top) - 2 * inset);
}

void CRenderKit::DrawRoundRect(HDC dc, const RECT& rect, int width, int cornerWidth, int cornerHeight,
                               uint32_t colour, int penStyle) {
  if ((colour >> 24) == 0 || width <= 0) return;
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  Gdiplus::Pen pen(ToColor(colour), static_cast<Gdiplus::REAL>(width));
  pen.SetDashStyle(ToDashStyle(penStyle));
  Gdiplus::GraphicsPath path;
  RECT inner = rect;
  inner.right -= 1;
  inner.bottom -= 1;
  AddRoundedRect(path, inner, cornerWidth, cornerHeight);
  graphics.DrawPath(&pen, &path);
}

}  // namespace SkinUI
