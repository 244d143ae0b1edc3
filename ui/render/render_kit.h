// The drawing routines every control shares: colours (through GDI+, so that
// alpha blends), image drawing strings and the nine-grid, lines and frames,
// and text on the GDI or the GDI+ path.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ui/render/drawing_surface.h"

namespace SkinUI {

// Pieces of the nine-grid.
struct NineGridStyle {
  RECT corners{};  // corner sizes in the picture, drawn unscaled
  bool alpha = false;
  BYTE fade = 255;
  bool hole = false;
  bool xtiled = false;
  bool ytiled = false;
};

class CRenderKit {
 public:
  // Nothing for alpha 0; otherwise a GDI+ fill, with rounded corners when
  // a corner ellipse is given.
  static void DrawColor(HDC dc, const RECT& rect, uint32_t colour, int cornerWidth = 0, int cornerHeight = 0);
  // `steps` bands from `from` to `to`, top to bottom (or left to right).
  static void DrawGradient(HDC dc, const RECT& rect, uint32_t from, uint32_t to, bool vertical, int steps);
  static void DrawLine(HDC dc, POINT from, POINT to, int width, uint32_t colour, int penStyle = PS_SOLID);
  static void DrawRect(HDC dc, const RECT& rect, int width, uint32_t colour, int penStyle = PS_SOLID);
  static void DrawRoundRect(HDC dc, const RECT& rect, int width, int cornerWidth, int cornerHeight, uint32_t colour,
                            int penStyle = PS_SOLID);

  // Draws an image drawing string (with an optional modifier) over `item`;
  // false when nothing was drawn (no picture, or outside the rectangles).
  static bool DrawImageString(const CDrawingSurface& surface, const RECT& item, const RECT& paint,
                              const std::wstring& drawString, const std::wstring& modifier = {});
  static void DrawImageNineGrid(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint, const RECT& source,
                                const NineGridStyle& style);

  // Text in the colour and font, with DrawTextW format flags. With
  // DT_CALCRECT the rectangle receives the measured size instead.
  static void DrawTextUI(const CDrawingSurface& surface, RECT& rect, const std::wstring& text, uint32_t colour,
                         int fontId, UINT format, bool editControl = false);
  // The same with a font of the caller's (a tag text's bold or linked part).
  static void DrawTextWithFont(const CDrawingSurface& surface, RECT& rect, const std::wstring& text, uint32_t colour,
                               HFONT font, UINT format, bool editControl = false);

  // Tag text (render/tag_text.h) laid out in `rect` with the DrawTextW
  // alignment bits of `format` (word-wrapped unless DT_SINGLELINE). Parts
  // without a colour of their own take `colour`, links the window's link
  // colours (the hover colour for `hotLink`), underlined. Unless
  // `measureOnly`, the text is drawn. The answer: the laid-out size and
  // every link part's rectangle in window coordinates.
  struct TagTextPlaced {
    SIZE size{};
    std::vector<std::pair<int, RECT>> links;
  };
  static TagTextPlaced DrawTagText(const CDrawingSurface& surface, const RECT& rect, const std::wstring& text,
                                   uint32_t colour, int fontId, UINT format, int hotLink, bool measureOnly);
};

}  // namespace SkinUI
