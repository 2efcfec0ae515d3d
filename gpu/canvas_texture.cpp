#include "gpu/canvas_texture.h"

#include <algorithm>

#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"

namespace gpu {
namespace {

constexpr float reach = 6000;  // half-extent of the oversized grain quads, canvas pixels


float grain_scale(float size) {
  return 40000.0f * (1 - 0.9f * size) * (1 - 0.9f * size);
}

// Two stretched noise layers crossing at right angles; the brighter wins.
void noise_height(const canvas& c) {
  const float w = float(geometry.width), h = float(geometry.height);
  const float cut = 0.8f + c.density * c.density;
  program(Prog::bristle_noise_gray)
      .use()
      .set("size", grain_scale(c.size))
      .set("brisize", cut)
      .set("brisize_cmp", 0.5f / cut);
  const float s2 = c.strength * c.strength;
  const float sf = 1000.0f * (c.stretch * c.stretch + 0.05f) * (c.stretch * c.stretch + 0.05f);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, 4 * s2 * std::min(1.0f, 2 - 2 * c.bias));
  textured_rect(0.5f * w - sf * reach, 0.5f * h - reach, 3 * sf * reach, 3 * reach);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glBlendEquation(GL_MAX);
  glColor4f(1, 1, 1, 4 * s2 * s2 * std::min(1.0f, 2 * c.bias));
  textured_rect(0.5f * w - reach, 0.5f * h - sf * reach, 3 * reach, 3 * sf * reach);
  glBlendEquation(GL_FUNC_ADD);
}

void weave_height(const canvas& c) {
  const float w = float(geometry.width), h = float(geometry.height);
  program(Prog::canvas_weave)
      .use()
      .set("size", grain_scale(c.size))
      .set("brisize", 0.001f * c.density)
      .set("brisize_cmp", c.bias * c.bias)
      .set("ratio", w / h);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, 4 * c.strength * c.strength * c.size);
  // More threads as the stretch grows.
  const float s3 = c.stretch * c.stretch * c.stretch;
  const float widen = 100.0f * s3 * s3 + 2.0f;
  textured_rect(0.5f * w - reach * widen, 0.5f * h - reach, 3 * reach * widen, 3 * reach);
}

void picture_height(const canvas& c) {
  glUseProgram(0);
  glDisable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  const float k = 2 * c.strength * c.strength;
  glColor4f(k, k, k, k);
  bind_texture(0, canvas_buffers.canvas_source.texture());
  full_quad();
  glEnable(GL_BLEND);
}

}  // namespace

void build_canvas_texture() {
  CanvasBuffers& b = canvas_buffers;
  const canvas& c = canvas_settings;
  set_projection(geometry.width, geometry.height);
  glEnable(GL_BLEND);
  glBlendEquation(GL_FUNC_ADD);
  b.canvas_height.bind_target();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  if (c.strength <= 0) {
    b.canvas_normals.bind_target();
    glClearColor(0, 0, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
  } else {
    switch (c.mode) {
      case 0: noise_height(c); break;
      case 2: picture_height(c); break;
      default: weave_height(c); break;
    }
    b.canvas_normals.bind_target();
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // The sign of the slopes travels in red; alpha stays 1 so the normals are
    // written whole, whichever way the relief points.
    glColor4f(c.inv ? -1.0f : 1.0f, 1, 1, 1);
    program(Prog::height_to_normal).use().set("offset", geometry.texel_x, geometry.texel_y);
    bind_texture(0, b.canvas_height.texture());
    full_quad();
  }
  light_canvas();
  glUseProgram(0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  b.canvas_texture_dirty = false;
}

void light_canvas() {
  const CanvasBuffers& b = canvas_buffers;
  const DisplaySettings& s = display_settings;
  const float* paper = s.paper;
  const int w = geometry.width, h = geometry.height;
  if (!canvas_settings.show) {
    b.canvas_image.bind_target();
    glClearColor(paper[0], paper[1], paper[2], 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    return;
  }
  {
    ScopedResolution at(2 * w, 2 * h);
    b.hq_target.bind_target();
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_BLEND);
    glColor4f(paper[0], paper[1], paper[2], paper[3]);
    const float* L = s.light_pos;
    program(Prog::light_normals)
        .use()
        .set("depth", 0.2f * 0.2f)
        .set("glossiness", 0.5f)
        .set("ratio", float(h) / float(w))
        .set("offset", 1.0f / float(w), 1.0f / float(h))
        .set("lpos", L[0], L[1] + float(h) / float(w), L[2])
        .set("lcol", s.light_col[0], s.light_col[1], s.light_col[2])
        .set("ambcol", s.ambient_col[0], s.ambient_col[1], s.ambient_col[2]);
    bind_texture(0, b.canvas_normals.texture());
    full_quad();
  }
  b.canvas_image.bind_target();
  glClearColor(paper[0], paper[1], paper[2], 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  b.hq_target.make_mipmapped(GL_LINEAR);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, 0.2f);
  program(Prog::sharpen).use().set("offset", geometry.texel_x, geometry.texel_y).set("strength", 0.05f);
  bind_texture(0, b.hq_target.texture());
  full_quad();
}

}  // namespace gpu
