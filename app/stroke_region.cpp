#include "app/stroke_region.h"

#include "brush/stroke.h"

std::optional<gpu::PixelRect> stroke_region(bool warp_mode) {
  if (warp_mode) return std::nullopt;
  return stroke.laid;
}
