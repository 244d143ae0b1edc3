// The alpha of a computed drop shadow around a window shape: pure pixel
// arithmetic, free of Win32, so it builds and is tested natively.
#pragma once

#include <cstdint>
#include <vector>

namespace SkinUI {

struct ShadowShape {
  int width = 0;   // of the shadow bitmap
  int height = 0;
  std::vector<uint8_t> inside;  // width * height, 1 where the window covers the pixel
};

struct ShadowLook {
  int darkness = 150;  // 0..255
  int sharpness = 5;   // 0..35
  int size = 0;        // -35..35
};

// Per pixel: darkness in the core that reaches max(0, size - sharpness)
// beyond the shape, then falling off linearly over sharpness + 1 pixels;
// the shape itself has full darkness. Distances are Euclidean.
std::vector<uint8_t> ComputeShadowAlpha(const ShadowShape& shape, const ShadowLook& look);

}  // namespace SkinUI
