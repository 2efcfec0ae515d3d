#include "brush/laid_region.h"

#include <algorithm>
#include <cmath>

#include "brush/bristle.h"
#include "gpu/geometry.h"

std::optional<gpu::PixelRect> bristle_region() {
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

float bristle_reach() {
  float reach = 0;
  for (const bristle* b : bristles.array)
    if (b) reach = std::max(reach, b->tpos.subv(b->topos).length());
  return reach;
}

gpu::PixelRect dab_region(const StrokeCall& c) {
  const gpu::Geometry& g = gpu::geometry;
  const float mx = c.dx * float(g.width), my = c.dy * float(g.height);
  // The scatters place dabs up to half the size from the centre, each at
  // most (1 + bristle size x size) / 2 across; a motion quad's corners lie
  // its half-width times the square root of 2 from its ends.
  const float dab = 0.5f * (1 + c.bristle_size * c.size) * std::max(1.0f, c.pen_factor);
  const float m = std::sqrt(2.0f) * (0.5f * c.size + dab) + 2;
  return gpu::PixelRect::around(std::min(c.x, c.x - mx) - m, std::min(c.y, c.y - my) - m, std::max(c.x, c.x - mx) + m,
                                std::max(c.y, c.y - my) + m);
}

gpu::PixelRect square_region(float x, float y, float size) {
  const float m = 0.5f * size + 2;
  return gpu::PixelRect::around(x - m, y - m, x + m, y + m);
}
