#include "tests/layer_paint.h"

#include <algorithm>
#include <cmath>

#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "layers/layer_display.h"
#include "tests/gl_fixture.h"

void fill_rect(const gpu::Buffer& b, float x0, float y0, float x1, float y1, std::array<float, 4> rgba) {
  b.bind_target();
  gpu::set_projection(b.width(), b.height());
  glUseProgram(0);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_ALPHA_TEST);
  glColor4f(rgba[0], rgba[1], rgba[2], rgba[3]);
  glBegin(GL_QUADS);
  glVertex2f(x0, y0);
  glVertex2f(x0, y1);
  glVertex2f(x1, y1);
  glVertex2f(x1, y0);
  glEnd();
  glEnable(GL_ALPHA_TEST);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void reset_display(bool high_quality, bool dither) {
  gpu::display_settings = gpu::DisplaySettings{};
  gpu::canvas_settings = gpu::start_canvas;
  gpu::display_settings.high_quality = high_quality;
  gpu::display_settings.dither = dither;
  gpu::canvas_buffers.canvas_texture_dirty = true;
}

void render(const gpu::DisplayInputs& in) {
  display_layers(in);
}

std::array<float, 4> Picture::at(int x, int y) const {
  size_t i = (size_t(y) * size_t(w) + size_t(x)) * 4;
  return {px[i], px[i + 1], px[i + 2], px[i + 3]};
}

float Picture::max_diff(const Picture& o, int x0, int y0, int x1, int y1) const {
  float worst = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      auto a = at(x, y), b = o.at(x, y);
      for (int c = 0; c < 3; ++c) worst = std::max(worst, std::fabs(a[c] - b[c]));
    }
  return worst;
}

Picture read_picture(const gpu::Buffer& b) {
  Picture p;
  p.w = b.width();
  p.h = b.height();
  std::vector<float> raw = read_texture(b.texture(), p.w, p.h, GL_RGBA, 4);
  p.px.resize(raw.size());
  const size_t row = size_t(p.w) * 4;
  for (int y = 0; y < p.h; ++y)
    std::copy_n(raw.begin() + std::ptrdiff_t(size_t(p.h - 1 - y) * row), row,
                p.px.begin() + std::ptrdiff_t(size_t(y) * row));
  return p;
}

std::vector<float> read_red(GLuint tex, int w, int h) {
  std::vector<float> raw = read_texture(tex, w, h, GL_RED, 1);
  std::vector<float> out(raw.size());
  for (int y = 0; y < h; ++y)
    std::copy_n(raw.begin() + std::ptrdiff_t(size_t(h - 1 - y) * size_t(w)), w,
                out.begin() + std::ptrdiff_t(size_t(y) * size_t(w)));
  return out;
}
