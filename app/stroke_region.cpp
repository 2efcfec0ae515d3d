#include "app/stroke_region.h"

#include <algorithm>
#include <cmath>

#include "brush/bristle.h"

namespace {

constexpr int bristle_brush = 8;
constexpr unsigned char paint_tool = 0, smudge_tool = 1;

}  // namespace

std::optional<gpu::PixelRect> stroke_region(int brush_type, unsigned char tool_mode, bool warp_mode) {
  if (brush_type != bristle_brush || warp_mode || (tool_mode != paint_tool && tool_mode != smudge_tool))
    return std::nullopt;
  const BristleState& s = bristles;
  if (s.list.empty()) return std::nullopt;
  float x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
  for (const bristle* b : s.array) {
    if (!b) continue;
    for (const vec2d& p : {b->topos, b->tpos}) {
      x0 = std::min(x0, p.x);
      y0 = std::min(y0, p.y);
      x1 = std::max(x1, p.x);
      y1 = std::max(y1, p.y);
    }
  }
  if (!(x0 <= x1 && y0 <= y1)) return gpu::PixelRect{};
  // Lines and points as wide as the set's width, with a pixel of smoothing
  // on each side and one of rounding.
  const float width = std::max(1.0f, s.list.front()->size * (0.25f + s.frame.radius * 0.001f));
  const float m = width * 0.5f + 2;
  return gpu::PixelRect::around(x0 - m, y0 - m, x1 + m, y1 + m);
}
