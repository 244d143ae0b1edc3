#include "ui/window/shadow_alpha.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace SkinUI {

namespace {

// The offset to the nearest shape pixel, propagated in two passes over the
// bitmap (8-neighbour sequential Euclidean distance transform).
struct Offset {
  int dx = INT_MAX / 4;
  int dy = INT_MAX / 4;
  long long Squared() const { return static_cast<long long>(dx) * dx + static_cast<long long>(dy) * dy; }
};

void Relax(std::vector<Offset>& grid, int width, int height, int x, int y, int ox, int oy) {
  const int nx = x + ox, ny = y + oy;
  if (nx < 0 || ny < 0 || nx >= width || ny >= height) return;
  Offset candidate = grid[static_cast<size_t>(ny) * width + nx];
  candidate.dx += ox;
  candidate.dy += oy;
  Offset& here = grid[static_cast<size_t>(y) * width + x];
  if (candidate.Squared() < here.Squared()) here = candidate;
}

std::vector<Offset> NearestShapeOffsets(const ShadowShape& shape) {
  const int width = shape.width, height = shape.height;
  std::vector<Offset> grid(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < grid.size(); ++i) {
    if (shape.inside[i]) grid[i] = Offset{0, 0};
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Relax(grid, width, height, x, y, -1, 0);
      Relax(grid, width, height, x, y, 0, -1);
      Relax(grid, width, height, x, y, -1, -1);
      Relax(grid, width, height, x, y, 1, -1);
    }
    for (int x = width - 1; x >= 0; --x) Relax(grid, width, height, x, y, 1, 0);
  }
  for (int y = height - 1; y >= 0; --y) {
    for (int x = width - 1; x >= 0; --x) {
      Relax(grid, width, height, x, y, 1, 0);
      Relax(grid, width, height, x, y, 0, 1);
      Relax(grid, width, height, x, y, 1, 1);
      Relax(grid, width, height, x, y, -1, 1);
    }
    for (int x = 0; x < width; ++x) Relax(grid, width, height, x, y, -1, 0);
  }
  return grid;
}

}  // namespace

std::vector<uint8_t> ComputeShadowAlpha(const ShadowShape& shape, const ShadowLook& look) {
  std::vector<uint8_t> alpha(static_cast<size_t>(shape.width) * shape.height, 0);
  if (shape.width <= 0 || shape.height <= 0) return alpha;
  const std::vector<Offset> nearest = NearestShapeOffsets(shape);
  const double core = std::max(0, look.size - look.sharpness);
  const double falloff = look.sharpness + 1.0;
  for (size_t i = 0; i < alpha.size(); ++i) {
    const double distance = std::sqrt(static_cast<double>(nearest[i].Squared()));
    double value = 0;
    if (distance <= core) value = look.darkness;
    else if (distance < core + falloff) value = look.darkness * (1.0 - (distance - core) / falloff);
    alpha[i] = static_cast<uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
  }
  return alpha;
}

}  // namespace SkinUI
