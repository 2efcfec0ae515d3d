#include "gpu/geometry.h"

#include <cmath>

#include "platform/gl.h"

namespace gpu {

Geometry geometry;

void set_canvas_size(int w, int h) {
  geometry.width = w;
  geometry.height = h;
  geometry.aspect = float(w) / float(h);
  geometry.texel_x = 1.0f / float(w);
  geometry.texel_y = 1.0f / float(h);
}

void set_projection(int w, int h) {
  glViewport(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, w, h, 0, -100, 100);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

ScopedResolution::ScopedResolution(int w, int h) : saved_w_(geometry.width), saved_h_(geometry.height) {
  geometry.width = w;
  geometry.height = h;
  set_projection(w, h);
}

ScopedResolution::~ScopedResolution() {
  geometry.width = saved_w_;
  geometry.height = saved_h_;
  set_projection(saved_w_, saved_h_);
}

namespace {

void draw_corners(const QuadCorners& q) {
  glBegin(GL_QUADS);
  for (int i = 0; i < 4; ++i) {
    glTexCoord2f(q.uv[i][0], q.uv[i][1]);
    glVertex2f(q.pos[i][0], q.pos[i][1]);
  }
  glEnd();
}

QuadCorners full_corners() {
  float w = float(geometry.width), h = float(geometry.height);
  QuadCorners q;
  q.full = true;
  q.pos = {{{0, 0}, {0, h}, {w, h}, {w, 0}}};
  q.uv = {{{0, 1}, {0, 0}, {1, 0}, {1, 1}}};
  return q;
}

}  // namespace

void full_quad() { draw_corners(full_corners()); }

void textured_rect(float x, float y, float w, float h) {
  QuadCorners q;
  q.pos = {{{x, y}, {x, y + h}, {x + w, y + h}, {x + w, y}}};
  q.uv = {{{0, 1}, {0, 0}, {1, 0}, {1, 1}}};
  draw_corners(q);
}

QuadCorners region_quad_corners(float x, float y, float r, float dx, float dy) {
  float w = float(geometry.width), h = float(geometry.height);
  float ox = dx * w * 0.5f, oy = dy * h * 0.5f;
  if (r < 10.0f) r = 10.0f;
  if (r > h || r > w) return full_corners();
  float big_r = r + 2.0f * std::sqrt(ox * ox + oy * oy);
  float x0 = x - big_r - ox, x1 = x + big_r - ox;
  float y0 = y - big_r - oy, y1 = y + big_r - oy;
  QuadCorners q;
  q.pos = {{{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}}};
  q.uv = {{{x0 / w, 1 - y0 / h}, {x0 / w, 1 - y1 / h}, {x1 / w, 1 - y1 / h}, {x1 / w, 1 - y0 / h}}};
  return q;
}

void region_quad(float x, float y, float r, float dx, float dy) { draw_corners(region_quad_corners(x, y, r, dx, dy)); }

}  // namespace gpu
