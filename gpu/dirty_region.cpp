#include "gpu/dirty_region.h"

#include <algorithm>
#include <cmath>

#include "platform/gl.h"

namespace gpu {

PixelRect PixelRect::clipped(int w, int h) const {
  return {std::clamp(x0, 0, w), std::clamp(y0, 0, h), std::clamp(x1, 0, w), std::clamp(y1, 0, h)};
}

PixelRect PixelRect::united(const PixelRect& o) const {
  if (o.empty()) return *this;
  if (empty()) return o;
  return {std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
}

PixelRect PixelRect::around(float ax0, float ay0, float ax1, float ay1) {
  // Far outside any canvas is as good as infinite, and stays an int.
  auto whole = [](float v, bool up) {
    const float c = std::clamp(up ? std::ceil(v) : std::floor(v), -1e8f, 1e8f);
    return int(c);
  };
  return {whole(std::min(ax0, ax1), false), whole(std::min(ay0, ay1), false), whole(std::max(ax0, ax1), true),
          whole(std::max(ay0, ay1), true)};
}

ScopedScissor::ScopedScissor(const std::optional<PixelRect>& rect, int scale, int w, int h) {
  if (!rect) return;
  on_ = true;
  was_enabled_ = glIsEnabled(GL_SCISSOR_TEST);
  glGetIntegerv(GL_SCISSOR_BOX, was_box_);
  // GL counts rows from the bottom of the target.
  const PixelRect r = rect->clipped(w, h);
  glEnable(GL_SCISSOR_TEST);
  glScissor(r.x0 * scale, (h - r.y1) * scale, (r.x1 - r.x0) * scale, (r.y1 - r.y0) * scale);
}

ScopedScissor::~ScopedScissor() {
  if (!on_) return;
  glScissor(was_box_[0], was_box_[1], was_box_[2], was_box_[3]);
  if (!was_enabled_) glDisable(GL_SCISSOR_TEST);
}

}  // namespace gpu
