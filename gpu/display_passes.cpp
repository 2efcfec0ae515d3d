#include "gpu/display_passes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "gpu/kernels.h"
#include "gpu/programs.h"
#include "gpu/selection_mask.h"

namespace gpu {
namespace {

void quad(float x0, float x1, float h, float u0, float u1, float vtop, float vbottom) {
  glBegin(GL_QUADS);
  glTexCoord2f(u0, vtop);
  glVertex2f(x0, 0);
  glTexCoord2f(u0, vbottom);
  glVertex2f(x0, h);
  glTexCoord2f(u1, vbottom);
  glVertex2f(x1, h);
  glTexCoord2f(u1, vtop);
  glVertex2f(x1, 0);
  glEnd();
}

// The marching-ants pattern, rotated one bit per frame.
uint16_t lasso_pattern = 0x00ff;

}  // namespace

void mirrored_draw(unsigned char mirror_mode, const std::array<float, 3>& lpos) {
  const float w = float(geometry.width), h = float(geometry.height);
  if (mirror_mode == 0) {
    full_quad();
    return;
  }
  if (mirror_mode >= 4) {
    float su = (mirror_mode & 4) ? 1.0f : 0.0f, sv = (mirror_mode & 8) ? 1.0f : 0.0f;
    quad(0, w, h, su, 1 - su, 1 - sv, sv);
    return;
  }
  const Program& p = program(Prog::paint_display);
  const float a = mirror_mode == 2 ? 1.0f : 0.0f;
  const float y = lpos[1];  // already raised by H / W for this layer
  const bool left_mirrored = mirror_mode == 2;
  p.set("lpos", left_mirrored ? 1 - lpos[0] : lpos[0], y, lpos[2]);
  quad(0, w / 2, h, a, 0.5f, 1, 0);
  p.set("lpos", left_mirrored ? lpos[0] : 1 - lpos[0], y, lpos[2]);
  quad(w / 2, w, h, 0.5f, a, 1, 0);
}

void add_glow(float amount) {
  const CanvasBuffers& b = canvas_buffers;
  const int gw = b.glow_a.width(), gh = b.glow_a.height();
  if (gw <= 0 || gh <= 0) return;
  {
    ScopedResolution at(gw, gh);
    b.paint_image.make_mipmapped(GL_NEAREST);
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    b.glow_a.bind_target();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    program(Prog::overflow_glow).use();
    bind_texture(0, b.paint_image.texture());
    full_quad();

    float kernel[8];
    one_sided_kernel(kernel, 8, 4.0f);
    const Program& blur = program(Prog::gauss_blur).use();
    blur.set_int("ksize", 8).set_array("kernel", kernel, 8);
    for (int pass = 0; pass < 2; ++pass) {
      blur.set_int("direction", 0).set("offset", 1.0f / float(gw));
      b.glow_b.bind_target();
      bind_texture(0, b.glow_a.texture());
      full_quad();
      blur.set_int("direction", 1).set("offset", 1.0f / float(gh));
      b.glow_a.bind_target();
      bind_texture(0, b.glow_b.texture());
      full_quad();
    }
  }
  b.paint_image.bind_target();
  glUseProgram(0);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glColor4f(1, 1, 1, amount);
  bind_texture(0, b.glow_a.texture());
  full_quad();
}

void copy_to_view(bool dither) {
  const CanvasBuffers& b = canvas_buffers;
  const float* bg = display_settings.background;
  b.view_image.bind_target();
  glClearColor(bg[0], bg[1], bg[2], 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  glEnable(GL_TEXTURE_2D);
  if (dither)
    program(Prog::dither8).use();
  else
    glUseProgram(0);
  bind_texture(0, b.paint_image.texture());
  full_quad();
}

void draw_lasso(const DisplayInputs& in) {
  const CanvasBuffers& b = canvas_buffers;
  fill_lasso(in.lasso);
  glEnable(GL_BLEND);
  program(Prog::polygon_parity).use();
  bind_texture(0, b.lasso_fill.texture());
  b.view_image.bind_target();
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glColor4f(1, 1, 1, 0.25f);
  full_quad();

  glUseProgram(0);
  glDisable(GL_TEXTURE_2D);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_DST_COLOR);
  lasso_pattern = uint16_t((lasso_pattern << 1) | (lasso_pattern >> 15));
  const float zoom = in.zoom > 0 ? in.zoom : 1;
  glEnable(GL_LINE_STIPPLE);
  if (zoom < 1)
    glLineWidth(1 / zoom);
  else
    glLineWidth(1);
  const GLint factor = zoom < 1 ? GLint(1 / zoom) : 1;
  const GLenum shape = in.lasso_kind == LassoKind::open_strip ? GL_LINE_STRIP : GL_LINE_LOOP;
  const bool mask_mode = in.lasso_mask_mode;
  const float colours[2][4] = {{1, 1, 1, mask_mode ? 1.0f : 0.666f}, {0.5f, 0.5f, 0.5f, mask_mode ? 0.5f : 0.666f}};
  for (int pass = 0; pass < 2; ++pass) {
    glLineStipple(factor, pass == 0 ? lasso_pattern : GLushort(~lasso_pattern));
    glColor4fv(colours[pass]);
    glBegin(shape);
    for (const auto& p : in.lasso) glVertex2f(p[0], p[1]);
    glEnd();
  }
  glDisable(GL_LINE_STIPPLE);
  glLineWidth(1);
  glEnable(GL_TEXTURE_2D);
}

void draw_view(const ViewTransform& t) {
  const CanvasBuffers& b = canvas_buffers;
  const float* bg = display_settings.background;
  glViewport(0, 0, t.screen_w, t.screen_h);
  glClearColor(bg[0], bg[1], bg[2], 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, t.screen_w, t.screen_h, 0, -100, 100);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(t.centre_x, t.centre_y, 0);
  glRotatef(t.angle, 0, 0, 1);
  glTranslatef(-t.centre_x, -t.centre_y, 0);

  const float border[4] = {bg[0], bg[1], bg[2], 1};
  glBindTexture(GL_TEXTURE_2D, b.view_image.texture());
  glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
  glBindTexture(GL_TEXTURE_2D, 0);
  const GLenum magnify = (t.zoom <= 2 || t.after_rebuild) ? GL_LINEAR : GL_NEAREST;
  if (t.skip_mipmaps) {
    glBindTexture(GL_TEXTURE_2D, b.view_image.texture());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnify);
    glBindTexture(GL_TEXTURE_2D, 0);
  } else {
    b.view_image.make_mipmapped(magnify);
  }

  glUseProgram(0);
  glDisable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  bind_texture(0, b.view_image.texture());
  const float x0 = t.offset_x, y0 = t.offset_y;
  const float x1 = x0 + float(geometry.width) * t.zoom, y1 = y0 + float(geometry.height) * t.zoom;
  glBegin(GL_QUADS);
  glTexCoord2f(0, 1);
  glVertex2f(x0, y0);
  glTexCoord2f(0, 0);
  glVertex2f(x0, y1);
  glTexCoord2f(1, 0);
  glVertex2f(x1, y1);
  glTexCoord2f(1, 1);
  glVertex2f(x1, y0);
  glEnd();
  glLoadIdentity();
  glEnable(GL_BLEND);
}

PixelRect screen_region(const ViewTransform& t, const PixelRect& r) {
  // A canvas pixel's colour reaches the screen pixels its filtered texel and
  // its neighbours cover.
  const PixelRect g = r.grown(1);
  const float a = t.angle * 3.14159265358979f / 180.0f;
  const float c = std::cos(a), s = std::sin(a);
  float x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
  for (int i = 0; i < 4; ++i) {
    const float px = t.offset_x + float(i & 1 ? g.x1 : g.x0) * t.zoom - t.centre_x;
    const float py = t.offset_y + float(i & 2 ? g.y1 : g.y0) * t.zoom - t.centre_y;
    const float sx = t.centre_x + c * px - s * py, sy = t.centre_y + s * px + c * py;
    x0 = std::min(x0, sx);
    y0 = std::min(y0, sy);
    x1 = std::max(x1, sx);
    y1 = std::max(y1, sy);
  }
  return PixelRect::around(x0, y0, x1, y1).grown(2).clipped(t.screen_w, t.screen_h);
}

}  // namespace gpu
