#include "gpu/flow_region.h"

namespace gpu {

PixelRect flow_work_rect(const PixelRect& field, const PixelRect& pressure, const FlowSpread& s) {
  // The deflection, damping, gates and advections keep a zero texel zero
  // (the advections fetch only where the field moves); the blurs read four
  // texels across, then four along, and the linear filter may blend in one
  // more where the offsets round.
  const PixelRect smoothed = field.empty() ? field : field.grown(s.smoothing ? 5 : 0);
  if (!s.curls) return smoothed;
  const int d = s.solver_divisor;
  // The divergence reads the field's mipmaps (trilinear at the pressure's
  // resolution, up to two levels below it) a pressure texel each way; each
  // relaxation step reaches one texel further; the projection reads the
  // pressure, filtered, a texel each way.
  const PixelRect divergence = smoothed.empty() ? smoothed : smoothed.grown(8 * d + 8);
  const PixelRect relaxed = pressure.united(divergence);
  if (relaxed.empty()) return smoothed;
  return smoothed.united(relaxed.grown((s.jacobi_steps + 2) * d + 2 * d + 2));
}

namespace {

int floor_div(long a, long b) {
  return int(a >= 0 ? a / b : -((-a + b - 1) / b));
}
int ceil_div(long a, long b) {
  return -floor_div(-a, b);
}

}  // namespace

PixelRect solver_to_canvas(const PixelRect& r, int w, int h, int sw, int sh) {
  if (r.empty()) return {};
  return {floor_div(long(r.x0) * w, sw) - 1, floor_div(long(r.y0) * h, sh) - 1, ceil_div(long(r.x1) * w, sw) + 1,
          ceil_div(long(r.y1) * h, sh) + 1};
}

PixelRect canvas_to_solver(const PixelRect& r, int w, int h, int sw, int sh) {
  if (r.empty()) return {};
  return {floor_div(long(r.x0) * sw, w) - 1, floor_div(long(r.y0) * sh, h) - 1, ceil_div(long(r.x1) * sw, w) + 1,
          ceil_div(long(r.y1) * sh, h) + 1};
}

}  // namespace gpu
