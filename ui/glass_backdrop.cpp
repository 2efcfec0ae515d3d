#include "ui/glass_backdrop.h"

#include <algorithm>
#include <cmath>

#include "gpu/geometry.h"
#include "gpu/kernels.h"
#include "gpu/programs.h"
#include "ui/gl_state.h"

namespace ui {
namespace {

// A rectangle of texels of the quarter-size buffers, rows counted from the
// bottom.
struct Texels {
  int x0, y0, x1, y1;
  bool empty() const { return x1 <= x0 || y1 <= y0; }
};

// The texels of a qw x qh buffer over the window pixels r of a w x h window,
// rounded outwards and grown by gx, gy texels.
Texels texels_over(const gpu::PixelRect& r, int w, int h, int qw, int qh, int gx, int gy) {
  auto lo = [](int v, int n, int q) { return int(std::floor(double(v) * q / n)); };
  auto hi = [](int v, int n, int q) { return int(std::ceil(double(v) * q / n)); };
  Texels t{lo(r.x0, w, qw) - gx, lo(h - r.y1, h, qh) - gy, hi(r.x1, w, qw) + gx, hi(h - r.y0, h, qh) + gy};
  t.x0 = std::max(t.x0, 0);
  t.y0 = std::max(t.y0, 0);
  t.x1 = std::min(t.x1, qw);
  t.y1 = std::min(t.y1, qh);
  return t;
}

// Draws into `to` over texels t, each reading its own centre. The quad is
// always the whole buffer and the scissor limits it, so a texel gets the same
// coordinates however much is redone around it.
void texel_pass(const gpu::Buffer& to, const Texels& t) {
  to.bind_target();
  glScissor(t.x0, t.y0, t.x1 - t.x0, t.y1 - t.y0);
  gpu::full_quad();
}

// One direction of the blur: nine taps `step` apart.
void blur_pass(gpu::Prog prog, GLuint from, const gpu::Buffer& to, const Texels& t, float step, float variance) {
  float k[9];
  gpu::nine_tap_kernel(k, variance);
  gpu::program(prog).use().set("offset", step).set("kcenter", k[4]).set("kernel", k[0], k[1], k[2], k[3]);
  gpu::bind_texture(0, from);
  texel_pass(to, t);
}

// The blur's spread in texels of the quarter-size picture, as variances:
// wider across than upright, as the glass spreads its view in screen units.
constexpr float across_variance = 4, upright_variance = 2;

}  // namespace

void GlassBackdrop::update(GLuint screen_copy, int w, int h, const std::vector<gpu::PixelRect>& footprints,
                           const std::optional<gpu::PixelRect>& changed) {
  std::vector<gpu::PixelRect> areas;
  for (const gpu::PixelRect& f : footprints) {
    const gpu::PixelRect a = f.grown(glass_reach::area).clipped(w, h);
    if (!a.empty()) areas.push_back(a);
  }
  if (areas.empty() || w <= 0 || h <= 0) {
    kept_.clear();
    return;
  }
  const SavedGlState saved;
  if (w != w_ || h != h_) {
    w_ = w;
    h_ = h;
    const int qw = (w + 3) / 4, qh = (h + 3) / 4;
    shrunk_ = gpu::Buffer::create(qw, qh, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
    across_ = gpu::Buffer::create(qw, qh, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
    blurred_ = gpu::Buffer::create(qw, qh, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
    kept_.clear();
  }
  for (const gpu::PixelRect& a : areas) {
    const bool kept = std::find(kept_.begin(), kept_.end(), a) != kept_.end();
    if (!kept || !changed) {
      blur(screen_copy, a);
      continue;
    }
    const gpu::PixelRect near = changed->grown(glass_reach::blur);
    const gpu::PixelRect r{std::max(near.x0, a.x0), std::max(near.y0, a.y0), std::min(near.x1, a.x1),
                           std::min(near.y1, a.y1)};
    if (!r.empty()) blur(screen_copy, r);
  }
  kept_ = std::move(areas);
}

// Runs under the caller's saved GL state.
void GlassBackdrop::blur(GLuint screen_copy, const gpu::PixelRect& r) {
  const int qw = blurred_.width(), qh = blurred_.height();
  // Each pass also makes the texels the next one reads: the nine-tap
  // kernels reach four texels.
  const Texels out = texels_over(r, w_, h_, qw, qh, 0, 0);
  if (out.empty()) return;
  const Texels rows = texels_over(r, w_, h_, qw, qh, 0, 4), both = texels_over(r, w_, h_, qw, qh, 4, 4);
  glDisable(GL_BLEND);
  glEnable(GL_SCISSOR_TEST);
  glDisable(GL_ALPHA_TEST);
  glColor4f(1, 1, 1, 1);
  const gpu::ScopedResolution res(qw, qh);
  gpu::program(gpu::Prog::shrink4).use().set("offset", 1.0f / float(w_), 1.0f / float(h_));
  gpu::bind_texture(0, screen_copy);
  texel_pass(shrunk_, both);
  blur_pass(gpu::Prog::blur9_h, shrunk_.texture(), across_, rows, 1.0f / float(qw), across_variance);
  blur_pass(gpu::Prog::blur9_v, across_.texture(), blurred_, out, 1.0f / float(qh), upright_variance);
  gpu::bind_texture(0, 0);
  texels_ += double(out.x1 - out.x0) * double(out.y1 - out.y0);
}

}  // namespace ui
