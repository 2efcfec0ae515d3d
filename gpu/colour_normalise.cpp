#include "gpu/colour_normalise.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"

namespace gpu {

void RangeScan::add(const float* pixels, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const float* p = pixels + 4 * i;
    if (!(p[3] > 0)) continue;
    if (p[0] + p[1] + p[2] <= 0) {
      lo_ = 0;
      continue;
    }
    float len = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
    lo_ = std::min(lo_, len);
    hi_ = std::max(hi_, len);
  }
}

ColourRange RangeScan::range() const {
  ColourRange r;
  // The darkest length becomes black and the brightest the length of white.
  // With nothing painted or a single shade there is no range to stretch.
  if (hi_ > lo_) {
    r.gain = 1.7320508f / (hi_ - lo_);
    r.black_point = lo_;
  }
  return r;
}

ColourRange painted_range(const float* pixels, int w, int h) {
  RangeScan scan;
  scan.add(pixels, size_t(std::max(w, 0)) * size_t(std::max(h, 0)));
  return scan.range();
}

void normalise_colours(const Buffer& work_col) {
  const CanvasBuffers& b = canvas_buffers;
  const int w = geometry.width, h = geometry.height;
  set_projection(w, h);
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  const Program& diffuse = program(Prog::jacobi_diffuse).use();
  diffuse.set("spread", 1.0f).set("spdiff", 5.0f).set("offset", geometry.texel_x, geometry.texel_y);
  b.paint_image.bind_target();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  bind_texture(0, work_col.texture());
  bind_texture(1, work_col.texture());
  full_quad();
  // The blur ping-pongs through scratch: its mirrored edges keep a border
  // colour out of the picture.
  for (int i = 0; i < 8; ++i) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, b.paint_image.framebuffer());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, b.scratch.framebuffer());
    glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    b.paint_image.bind_target();
    bind_texture(0, b.scratch.texture());
    bind_texture(1, b.scratch.texture());
    full_quad();
  }

  // Read back in bands so a large canvas needs no whole-picture copy.
  constexpr int band = 64;
  std::vector<float> pixels(size_t(w) * band * 4);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  RangeScan scan;
  for (int y = 0; y < h; y += band) {
    const int rows = std::min(band, h - y);
    glReadPixels(0, y, w, rows, GL_RGBA, GL_FLOAT, pixels.data());
    scan.add(pixels.data(), size_t(w) * size_t(rows));
  }
  const ColourRange range = scan.range();

  // Reading and writing the same texture in one pass is undefined: draw from a copy.
  glBindFramebuffer(GL_READ_FRAMEBUFFER, work_col.framebuffer());
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, b.scratch.framebuffer());
  glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  work_col.bind_target();
  program(Prog::bright_dark).use().set("bri", range.gain).set("drk", range.black_point);
  bind_texture(0, b.scratch.texture());
  full_quad();

  for (const Buffer* clear : {&b.paint_image, &b.scratch, &b.view_image}) {
    clear->bind_target();
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glUseProgram(0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glEnable(GL_BLEND);
}

}  // namespace gpu
