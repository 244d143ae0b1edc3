// Image drawing strings and the nine-grid.
#include <windows.h>

#include <algorithm>

#include "ui/geometry/rect_conversion.h"
#include "ui/render/render_kit.h"

namespace SkinUI {

namespace {

bool Meets(const RECT& a, const RECT& b) {
  RECT both{};
  return IntersectRect(&both, &a, &b) != FALSE;
}

// One piece: `src` of the picture into `dst`, stretched when the sizes differ.
class PieceDrawer {
 public:
  PieceDrawer(HDC dc, HDC pictureDc, const RECT& paint, const NineGridStyle& style)
      : dc_(dc), pictureDc_(pictureDc), paint_(paint), style_(style) {}

  void Draw(const RECT& dst, const RECT& src) const {
    const int dw = dst.right - dst.left, dh = dst.bottom - dst.top;
    const int sw = src.right - src.left, sh = src.bottom - src.top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || !Meets(dst, paint_)) return;
    if (style_.alpha) {
      const BLENDFUNCTION blend = {AC_SRC_OVER, 0, style_.fade, AC_SRC_ALPHA};
      GdiAlphaBlend(dc_, dst.left, dst.top, dw, dh, pictureDc_, src.left, src.top, sw, sh, blend);
    } else if (dw == sw && dh == sh) {
      BitBlt(dc_, dst.left, dst.top, dw, dh, pictureDc_, src.left, src.top, SRCCOPY);
    } else {
      StretchBlt(dc_, dst.left, dst.top, dw, dh, pictureDc_, src.left, src.top, sw, sh, SRCCOPY);
    }
  }

  // The middle piece, stretched or tiled in steps of the source size.
  void DrawMiddle(const RECT& dst, const RECT& src) const {
    const int sw = src.right - src.left, sh = src.bottom - src.top;
    if (sw <= 0 || sh <= 0) return;
    const int stepX = style_.xtiled ? sw : dst.right - dst.left;
    const int stepY = style_.ytiled ? sh : dst.bottom - dst.top;
    if (stepX <= 0 || stepY <= 0) return;
    for (int top = dst.top; top < dst.bottom; top += stepY) {
      const int height = std::min(stepY, static_cast<int>(dst.bottom) - top);
      for (int left = dst.left; left < dst.right; left += stepX) {
        const int width = std::min(stepX, static_cast<int>(dst.right) - left);
        // A cut tile takes the matching part of the source; a stretched one all of it.
        const int srcWidth = style_.xtiled ? width : sw;
        const int srcHeight = style_.ytiled ? height : sh;
        Draw({left, top, left + width, top + height},
             {src.left, src.top, src.left + srcWidth, src.top + srcHeight});
      }
    }
  }

 private:
  HDC dc_;
  HDC pictureDc_;
  RECT paint_;
  const NineGridStyle& style_;
};

}  // namespace

bool CRenderKit::DrawImageString(const CDrawingSurface& surface, const RECT& item, const RECT& paint,
                                 const std::wstring& drawString, const std::wstring& modifier) {
  IPaintResources* resources = surface.Resources();
  if (resources == nullptr || drawString.empty()) return false;
  const ImageDrawing& drawing = resources->ObtainDrawing(drawString, modifier);
  if (drawing.name.empty()) return false;
  const ImageEntry* picture = resources->ObtainImage(drawing.name, drawing.resType, drawing.mask, drawing.hsl);
  if (picture == nullptr || picture->bitmap == nullptr) return false;

  const RECT dest = ToRect(ImageDestination(ToUiRect(item), drawing.dest));
  const RECT source = ToRect(ImageSource(drawing.source, picture->width, picture->height));
  if (!Meets(dest, item) || !Meets(dest, paint)) return false;

  NineGridStyle style;
  style.corners = ToRect(drawing.corner);
  style.alpha = picture->hasAlpha || resources->IsLayered() || drawing.fade < 255;
  style.fade = drawing.fade;
  style.hole = drawing.hole;
  style.xtiled = drawing.xtiled;
  style.ytiled = drawing.ytiled;
  DrawImageNineGrid(surface.Dc(), picture->bitmap, dest, paint, source, style);
  return true;
}

void CRenderKit::DrawImageNineGrid(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint, const RECT& source,
                                   const NineGridStyle& style) {
  HDC pictureDc = CreateCompatibleDC(dc);
  if (pictureDc == nullptr) return;
  const HGDIOBJ oldBitmap = SelectObject(pictureDc, bitmap);
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  const PieceDrawer pieces(dc, pictureDc, paint, style);

  const RECT& c = style.corners;
  // Column and row edges of the destination and of the source.
  const LONG dx[4] = {dest.left, dest.left + c.left, dest.right - c.right, dest.right};
  const LONG dy[4] = {dest.top, dest.top + c.top, dest.bottom - c.bottom, dest.bottom};
  const LONG sx[4] = {source.left, source.left + c.left, source.right - c.right, source.right};
  const LONG sy[4] = {source.top, source.top + c.top, source.bottom - c.bottom, source.bottom};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      const RECT dst = {dx[column], dy[row], dx[column + 1], dy[row + 1]};
      const RECT src = {sx[column], sy[row], sx[column + 1], sy[row + 1]};
      if (row == 1 && column == 1) {
        if (!style.hole) pieces.DrawMiddle(dst, src);
      } else {
        pieces.Draw(dst, src);
      }
    }
  }

  SetStretchBltMode(dc, oldMode);
  SelectObject(pictureDc, oldBitmap);
  DeleteDC(pictureDc);
}

}  // namespace SkinUI
