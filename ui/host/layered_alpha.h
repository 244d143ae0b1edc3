// Per-pixel alpha of a layered window's bitmap (premultiplied BGRA, one
// 32-bit word per pixel, rows of `width` words, top row first). GDI draws
// with alpha 0, so what it drew must be made opaque before the bitmap goes
// to the screen.
#pragma once

#include <cstdint>

#include "ui/geometry/ui_rect.h"

namespace SkinUI {

// Clears the rows of `rect` (clipped to the bitmap) to transparent black.
void ClearPixels(uint32_t* pixels, int width, int height, const UiRect& rect);
// Every pixel of `rect` with alpha 0 and a colour that is not black gets alpha 255.
void FixGdiAlpha(uint32_t* pixels, int width, int height, const UiRect& rect);
// Every channel of every pixel multiplied by the alpha of the mask pixel at the same place.
void MultiplyByMaskAlpha(uint32_t* pixels, const uint32_t* mask, int count);
// A native child window printed by GDI: every pixel that is not zero becomes opaque.
void MakePrintedOpaque(uint32_t* pixels, int count);

}  // namespace SkinUI
