// Tag text measured and drawn with GDI fonts derived from the control's:
// each style of the text gets its own font for the length of one call.
#include <windows.h>

#include <map>
#include <tuple>

#include "ui/render/render_kit.h"
#include "ui/render/tag_text.h"

namespace SkinUI {

namespace {

struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { DeleteDC(h); }
};
using OwnedDc = ScopedHandle<MemoryDcTraits>;

// The fonts of one call, one per font id and style.
class StyleFonts {
 public:
  explicit StyleFonts(const IPaintResources& resources, int baseFontId)
      : resources_(resources), baseFontId_(baseFontId) {}

  HFONT For(const TagStyle& style) {
    const HFONT base = resources_.FontById(style.fontId >= 0 ? style.fontId : baseFontId_);
    const bool underline = style.underline || style.link >= 0;
    if (!style.bold && !style.italic && !underline && !style.strikeOut) return base;
    const auto key = std::make_tuple(base, style.bold, style.italic, underline, style.strikeOut);
    const auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second.Get();
    LOGFONTW logFont{};
    if (base == nullptr || GetObjectW(base, sizeof(logFont), &logFont) == 0) return base;
    if (style.bold) logFont.lfWeight = FW_BOLD;
    if (style.italic) logFont.lfItalic = TRUE;
    if (underline) logFont.lfUnderline = TRUE;
    if (style.strikeOut) logFont.lfStrikeOut = TRUE;
    UniqueFont font(CreateFontIndirectW(&logFont));
    if (!font) return base;
    const HFONT handle = font.Get();
    fonts_.emplace(key, std::move(font));
    return handle;
  }

 private:
  const IPaintResources& resources_;
  int baseFontId_;
  std::map<std::tuple<HFONT, bool, bool, bool, bool>, UniqueFont> fonts_;
};

UiSize MeasureWithGdi(HDC dc, HFONT font, const std::wstring& text) {
  const HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  if (!text.empty()) GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  return {static_cast<int>(size.cx), static_cast<int>(metrics.tmHeight)};
}

}  // namespace

CRenderKit::TagTextPlaced CRenderKit::DrawTagText(const CDrawingSurface& surface, const RECT& rect,
                                                  const std::wstring& text, uint32_t colour, int fontId, UINT format,
                                                  int hotLink, bool measureOnly) {
  TagTextPlaced placed;
  IPaintResources* resources = surface.Resources();
  if (text.empty() || resources == nullptr) return placed;
  OwnedDc ownDc;
  HDC dc = surface.Dc();
  if (dc == nullptr) {
    ownDc.Reset(CreateCompatibleDC(nullptr));
    dc = ownDc.Get();
    if (dc == nullptr) return placed;
  }
  StyleFonts fonts(*resources, fontId);
  const TagText parsed = ParseTagText(text);
  const bool wrap = (format & DT_SINGLELINE) == 0;
  const TagLayout layout =
      LayOutTagText(parsed, rect.right - rect.left, wrap,
                    [&](const std::wstring& piece, const TagStyle& style) { return MeasureWithGdi(dc, fonts.For(style), piece); });
  placed.size = {layout.size.cx, layout.size.cy};

  // The block sits by the vertical bits; each line by the horizontal ones.
  int top = rect.top;
  if (format & DT_VCENTER) top += (rect.bottom - rect.top - layout.size.cy) / 2;
  else if (format & DT_BOTTOM) top += rect.bottom - rect.top - layout.size.cy;
  std::map<int, int> lineWidths;  // by the line's top
  for (const TagPiece& piece : layout.pieces) {
    int& width = lineWidths[piece.rect.top];
    width = std::max(width, piece.rect.right);
  }
  const WindowAttributes& window = resources->Attributes();
  for (const TagPiece& piece : layout.pieces) {
    const int lineWidth = lineWidths[piece.rect.top];
    int left = rect.left;
    if (format & DT_CENTER) left += (rect.right - rect.left - lineWidth) / 2;
    else if (format & DT_RIGHT) left += rect.right - rect.left - lineWidth;
    RECT box{left + piece.rect.left, top + piece.rect.top, left + piece.rect.right, top + piece.rect.bottom};
    if (piece.style.link >= 0) placed.links.emplace_back(piece.style.link, box);
    if (measureOnly) continue;
    uint32_t pieceColour = piece.style.colour ? piece.style.colour : colour;
    if (piece.style.link >= 0) {
      pieceColour = piece.style.link == hotLink ? window.linkHoverFontColour : window.linkFontColour;
    }
    DrawTextWithFont(surface, box, piece.text, pieceColour, fonts.For(piece.style),
                     DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_TOP | DT_LEFT);
  }
  return placed;
}

}  // namespace SkinUI
