// The hue/saturation/lightness adjustment applied to colours and pixels. A
// hue turns round the colour wheel; saturation and lightness below 100 scale
// towards grey and black, above 100 towards full colour and white. Alpha is
// never changed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/markup/hsl_adjustment.h"

namespace SkinUI {

// A colour as markup writes it, 0xAARRGGBB, not premultiplied.
uint32_t AdjustColourHsl(uint32_t argb, const HslAdjustment& adjustment);

// `count` premultiplied pixels (0xAARRGGBB) from `source` into `target`,
// which may be the same buffer.
void AdjustPremultipliedPixels(const uint32_t* source, uint32_t* target, size_t count,
                               const HslAdjustment& adjustment);

}  // namespace SkinUI
