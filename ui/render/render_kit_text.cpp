// Text on the GDI path or, for layered windows and "gdiplustext", on the
// GDI+ path; outlined ("textdesigner") as a GDI+ path.
#include <windows.h>
#include <gdiplus.h>

#include <cmath>
#include <cwchar>
#include <vector>

#include "ui/render/render_kit.h"
#include "ui/resources/font_fallback.h"

namespace SkinUI {

namespace {

// "&#x" followed by up to four hexadecimal digits names one character (an
// icon font's glyph); a trailing space or ";" is not part of it.
bool IconCharacter(const std::wstring& text, wchar_t& character) {
  const size_t start = text.find(L"&#x");
  if (start == std::wstring::npos) return false;
  unsigned value = 0;
  int digits = 0;
  for (size_t i = start + 3; i < text.size() && digits < 4; ++i, ++digits) {
    const wchar_t c = text[i];
    int digit = -1;
    if (c >= L'0' && c <= L'9') digit = c - L'0';
    else if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
    if (digit < 0) break;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  character = static_cast<wchar_t>(value);
  return true;
}

void DrawWithGdi(HDC dc, HFONT font, RECT& rect, const std::wstring& text, uint32_t colour, UINT format) {
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
  const HGDIOBJ oldFont = SelectObject(dc, font);
  wchar_t icon = 0;
  if (IconCharacter(text, icon)) {
    DrawTextW(dc, &icon, 1, &rect, format);
  } else {
    DrawTextW(dc, text.c_str(), -1, &rect, format);
  }
  SelectObject(dc, oldFont);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

// GDI follows the system's font substitutes (a face the machine lacks drawn
// with the one it names), GDI+ does not: it would fall back to a face
// without the text's script. GDI+ is therefore given the family that GDI
// selects for the font, with the font's size and style.
LOGFONTW GdiplusLogFont(HDC dc, HFONT font) {
  LOGFONTW logFont{};
  GetObjectW(font, sizeof(logFont), &logFont);
  const HGDIOBJ old = SelectObject(dc, font);
  const UINT size = GetOutlineTextMetricsW(dc, 0, nullptr);
  if (size >= sizeof(OUTLINETEXTMETRICW)) {
    std::vector<BYTE> buffer(size);
    auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
    if (GetOutlineTextMetricsW(dc, size, metrics)) {
      const auto offset = reinterpret_cast<UINT_PTR>(metrics->otmpFamilyName);
      if (offset > 0 && offset < size) {
        const auto* family = reinterpret_cast<const wchar_t*>(buffer.data() + offset);
        const size_t length = wcsnlen(family, (size - offset) / sizeof(wchar_t));
        if (length > 0 && length < LF_FACESIZE) {
          std::wmemcpy(logFont.lfFaceName, family, length);
          logFont.lfFaceName[length] = L'\0';
        }
      }
    }
  }
  SelectObject(dc, old);
  return logFont;
}

// The DrawTextW flags as a GDI+ string format: trimming, wrapping, clipping
// and both alignments.
void ApplyDrawTextFormat(Gdiplus::StringFormat& stringFormat, UINT format) {
  if (format & DT_END_ELLIPSIS) stringFormat.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
  if (format & DT_PATH_ELLIPSIS) stringFormat.SetTrimming(Gdiplus::StringTrimmingEllipsisPath);
  INT flags = Gdiplus::StringFormatFlagsMeasureTrailingSpaces;
  if (format & DT_SINGLELINE) flags |= Gdiplus::StringFormatFlagsNoWrap;
  if (format & DT_NOCLIP) flags |= Gdiplus::StringFormatFlagsNoClip;
  stringFormat.SetFormatFlags(flags);
  stringFormat.SetAlignment((format & DT_CENTER)  ? Gdiplus::StringAlignmentCenter
                            : (format & DT_RIGHT) ? Gdiplus::StringAlignmentFar
                                                  : Gdiplus::StringAlignmentNear);
  stringFormat.SetLineAlignment((format & DT_VCENTER)   ? Gdiplus::StringAlignmentCenter
                                : (format & DT_BOTTOM) ? Gdiplus::StringAlignmentFar
                                                       : Gdiplus::StringAlignmentNear);
}

Gdiplus::RectF LayoutRect(const RECT& rect) {
  return Gdiplus::RectF(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                        static_cast<Gdiplus::REAL>(rect.right - rect.left),
                        static_cast<Gdiplus::REAL>(rect.bottom - rect.top));
}

// Outlined text: the glyphs' outlines as a path, stroked with the window's
// outline colour at twice its width, then filled with the text colour over
// the inner half, so the outline shows its full width outside the glyphs.
// GDI ignores a colour's alpha, and outlined text takes GDI's place: a
// colour written without alpha is opaque here too.
Gdiplus::Color OpaqueUnlessGiven(uint32_t argb) {
  return Gdiplus::Color(static_cast<Gdiplus::ARGB>((argb >> 24) == 0 ? argb | 0xFF000000u : argb));
}

void DrawOutlined(HDC dc, const IPaintResources& resources, HFONT font, const RECT& rect, const std::wstring& text,
                  uint32_t colour, UINT format) {
  const WindowAttributes& window = resources.Attributes();
  const LOGFONTW logFont = GdiplusLogFont(dc, font);
  TEXTMETRICW metrics{};
  const HGDIOBJ old = SelectObject(dc, font);
  const bool measured = GetTextMetricsW(dc, &metrics) != FALSE;
  SelectObject(dc, old);
  if (!measured) return;
  const auto emSize = static_cast<Gdiplus::REAL>(metrics.tmHeight - metrics.tmInternalLeading);
  INT style = Gdiplus::FontStyleRegular;
  if (logFont.lfWeight >= FW_BOLD) style |= Gdiplus::FontStyleBold;
  if (logFont.lfItalic) style |= Gdiplus::FontStyleItalic;
  if (logFont.lfUnderline) style |= Gdiplus::FontStyleUnderline;
  if (logFont.lfStrikeOut) style |= Gdiplus::FontStyleStrikeout;

  Gdiplus::FontFamily named(logFont.lfFaceName);
  const Gdiplus::FontFamily* family = named.IsAvailable() ? &named : Gdiplus::FontFamily::GenericSansSerif();
  Gdiplus::StringFormat stringFormat(Gdiplus::StringFormat::GenericTypographic());
  ApplyDrawTextFormat(stringFormat, format);
  Gdiplus::GraphicsPath path;
  path.AddString(text.c_str(), static_cast<INT>(text.size()), family, style, emSize, LayoutRect(rect), &stringFormat);

  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  if (!(format & DT_NOCLIP)) graphics.SetClip(LayoutRect(rect));
  const int outline = resources.Dpi().ScaleValue(window.textOutlineSize);
  if (outline > 0) {
    Gdiplus::Pen pen(OpaqueUnlessGiven(window.textOutlineColour),
                     static_cast<Gdiplus::REAL>(2 * outline));
    pen.SetLineJoin(Gdiplus::LineJoinRound);
    graphics.DrawPath(&pen, &path);
  }
  Gdiplus::SolidBrush brush(OpaqueUnlessGiven(colour));
  graphics.FillPath(&brush, &path);
}

void DrawWithGdiplus(HDC dc, const IPaintResources& resources, HFONT font, RECT& rect, const std::wstring& text,
                     uint32_t colour, UINT format) {
  const WindowAttributes& window = resources.Attributes();
  Gdiplus::Graphics graphics(dc);
  const int hint = window.textRenderingHint;
  graphics.SetTextRenderingHint(static_cast<Gdiplus::TextRenderingHint>(hint >= 1 && hint <= 5 ? hint : 0));
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  const LOGFONTW logFont = GdiplusLogFont(dc, font);
  Gdiplus::Font gdiplusFont(dc, &logFont);

  Gdiplus::StringFormat stringFormat(Gdiplus::StringFormat::GenericTypographic());
  ApplyDrawTextFormat(stringFormat, format);
  const Gdiplus::RectF layout = LayoutRect(rect);
  const INT length = static_cast<INT>(text.size());
  if (format & DT_CALCRECT) {
    Gdiplus::RectF bounds;
    graphics.MeasureString(text.c_str(), length, &gdiplusFont, layout, &stringFormat, &bounds);
    rect.right = rect.left + static_cast<LONG>(std::lround(bounds.Width)) + 1;
    rect.bottom = rect.top + static_cast<LONG>(std::lround(bounds.Height)) + 1;
    return;
  }
  const uint32_t argb = window.textRenderDouble ? (colour | 0xFF000000u) : colour;
  Gdiplus::SolidBrush brush(Gdiplus::Color(static_cast<Gdiplus::ARGB>(argb)));
  graphics.DrawString(text.c_str(), length, &gdiplusFont, layout, &stringFormat, &brush);
  if (window.textRenderDouble) graphics.DrawString(text.c_str(), length, &gdiplusFont, layout, &stringFormat, &brush);
}

}  // namespace

void CRenderKit::DrawTextUI(const CDrawingSurface& surface, RECT& rect, const std::wstring& text, uint32_t colour,
                            int fontId, UINT format, bool editControl) {
  const IPaintResources* resources = surface.Resources();
  if (text.empty() || resources == nullptr) return;
  // A face the skin names may lack the text's script on this machine.
  const FontEntry* entry = resources->FontInfoById(fontId);
  const HFONT font = entry ? FontForText(surface.Dc(), *entry, text) : resources->FontById(fontId);
  DrawTextWithFont(surface, rect, text, colour, font, format, editControl);
}

void CRenderKit::DrawTextWithFont(const CDrawingSurface& surface, RECT& rect, const std::wstring& text,
                                  uint32_t colour, HFONT font, UINT format, bool editControl) {
  const IPaintResources* resources = surface.Resources();
  if (text.empty() || resources == nullptr) return;
  const HDC dc = surface.Dc();
  const bool measuring = (format & DT_CALCRECT) != 0;
  const WindowAttributes& window = resources->Attributes();
  if (window.textDesigner && !measuring) {
    DrawOutlined(dc, *resources, font, rect, text, colour, format);
    return;
  }
  const bool gdiplusText = window.gdiplusText && (!editControl || !measuring);
  if (resources->IsLayered() || gdiplusText) {
    DrawWithGdiplus(dc, *resources, font, rect, text, colour, format);
  } else {
    DrawWithGdi(dc, font, rect, text, colour, format);
  }
}

}  // namespace SkinUI
