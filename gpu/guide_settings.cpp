#include "gpu/guide_settings.h"

#include <algorithm>
#include <cmath>

namespace gpu {

GuideSettings guide_settings;

void clamp_guide(GuideSettings& g) {
  const GuideSettings start;
  auto finite_or = [](float v, float fallback) { return std::isfinite(v) ? v : fallback; };
  g.guide_fov = std::clamp(finite_or(g.guide_fov, start.guide_fov), guide_fov_min, guide_fov_max);
  g.guide_distortion = std::clamp(finite_or(g.guide_distortion, start.guide_distortion), -1.0f, 1.0f);
  g.guide_alpha = std::clamp(finite_or(g.guide_alpha, start.guide_alpha), -1.0f, 1.0f);
  g.guide_subdivisions = std::clamp(g.guide_subdivisions, 1, guide_subdivisions_max);
  g.wobble_counter = std::clamp(g.wobble_counter, 0, 3599);
  for (int i = 0; i < 3; ++i) {
    g.guide_offset[i] = finite_or(g.guide_offset[i], start.guide_offset[i]);
    g.guide_camera[i] = finite_or(g.guide_camera[i], start.guide_camera[i]);
    g.guide_rotation[i] = finite_or(g.guide_rotation[i], start.guide_rotation[i]);
  }
}

}  // namespace gpu
