#include "gpu/display.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "gpu/canvas_buffers.h"
#include "gpu/canvas_texture.h"
#include "gpu/display_passes.h"
#include "gpu/display_settings.h"
#include "gpu/flow_activity.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"

namespace gpu {

void apply_blend_style(unsigned char style, bool set_premul) {
  glEnable(GL_BLEND);
  glBlendEquation(GL_FUNC_ADD);
  int premul = 0;
  switch (style) {
    case 1: glBlendFunc(GL_SRC_ALPHA, GL_ONE); break;
    case 2:
      glBlendFuncSeparate(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      premul = 1;
      break;
    default: glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
  }
  if (set_premul) program(Prog::paint_display).set_int("premul", premul);
}

namespace {

// The paint-thickness sum every visible layer adds into `scratch`: thin paint
// shows the canvas grain, thick paint hides it.
void thickness_sum(std::span<const DisplayLayer> layers, const std::vector<bool>& blank, const DisplayInputs& in) {
  const CanvasBuffers& b = canvas_buffers;
  const canvas& cs = canvas_settings;
  b.scratch.bind_target();
  set_projection(geometry.width, geometry.height);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glUseProgram(0);
  glEnable(GL_BLEND);
  glBlendEquation(GL_FUNC_ADD);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glColor4f(1, 1, 1, 1);
  if (cs.strength != 0 && cs.show) {
    glEnable(GL_TEXTURE_2D);
    for (std::size_t i = 0; i < layers.size(); ++i) {
      const DisplayLayer& l = layers[i];
      if (l.hidden || blank[i]) continue;
      bind_texture(0, l.mat_tex);
      full_quad();
      if (l.active && in.placing_picture) {
        bind_texture(0, b.overlay_mat.texture());
        full_quad();
      }
    }
  } else {
    glDisable(GL_TEXTURE_2D);
    full_quad();
    glEnable(GL_TEXTURE_2D);
  }
}

void set_frame_uniforms() {
  const DisplaySettings& s = display_settings;
  program(Prog::paint_display)
      .use()
      .set_int("canvas_active", canvas_settings.show ? 1 : 0)
      .set("gamma", s.display_gamma())
      .set("ratio", float(geometry.height) / float(geometry.width))
      .set("offset", geometry.texel_x, geometry.texel_y)
      .set("lcol", s.light_col[0], s.light_col[1], s.light_col[2])
      .set("ambcol", s.ambient_col[0], s.ambient_col[1], s.ambient_col[2])
      .set("desaturation", s.desaturate)
      .set("perception", s.perception);
}

// Layer light position: the light stays put while the content is offset.
std::array<float, 3> layer_light(const DisplayLayer& l) {
  const float* L = display_settings.light_pos;
  const float w = float(geometry.width), h = float(geometry.height);
  return {L[0] - l.posx / w, L[1] + h / w + l.posy / w, L[2]};
}

void set_layer_uniforms(const DisplayLayer& l) {
  // A diffusion of 0 would make the highlight exponent infinite; the smallest
  // positive value gives the same sharp highlight without the overflow.
  float diffusion = std::max(l.diffusion, 1e-4f);
  program(Prog::paint_display)
      .use()
      .set("depth", std::sqrt(std::max(l.bump, 0.0f)) * 0.9999f)
      .set("glossiness", l.glossiness)
      .set("diffusion", 10.0f / (diffusion * diffusion))
      .set("metallic", l.metallic)
      .set("visibility", l.visibility);
}

// Binds a layer's amount (unit 0) and colour (unit 1) and its blend style.
void bind_layer(const DisplayLayer& l, GLuint mat_tex, GLuint col_tex) {
  program(Prog::paint_display).use();
  apply_blend_style(l.style, true);
  bind_texture(0, mat_tex);
  bind_texture(1, col_tex);
}

// Copies the live layer into the mask-view buffers and lays the mask-time
// snapshot over it inside the mask, so the viewer sees paint as it was when
// the mask was made.
void prepare_mask_view(const DisplayLayer& l) {
  const CanvasBuffers& b = canvas_buffers;
  const int w = b.mask_view_col.width(), h = b.mask_view_col.height();
  auto blit = [&](GLuint from, const Buffer& to) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to.framebuffer());
    glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  };
  blit(l.col_fbo, b.mask_view_col);
  blit(l.mat_fbo, b.mask_view_mat);
  ScopedResolution at(w, h);
  program(Prog::col_alpha_from_mat).use();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, 1);
  bind_texture(0, b.mask.texture());
  bind_texture(1, b.mask_snapshot_col.texture());
  b.mask_view_col.bind_target();
  full_quad();
  bind_texture(1, b.mask_snapshot_mat.texture());
  b.mask_view_mat.bind_target();
  full_quad();
}

// Warp mode shows the active layer through the warp map.
void warp_overlay(const DisplayLayer& l) {
  const CanvasBuffers& b = canvas_buffers;
  ScopedResolution at(b.overlay_col.width(), b.overlay_col.height());
  // A copy, not a composite: blending would mix in the overlay's old content,
  // and the alpha test would drop the colour of uncovered pixels.
  glDisable(GL_BLEND);
  const GLboolean alpha_test = glIsEnabled(GL_ALPHA_TEST);
  glDisable(GL_ALPHA_TEST);
  program(Prog::uv_lookup).use();
  bind_texture(1, b.warp_uv.texture());
  bind_texture(0, l.col_tex);
  b.overlay_col.bind_target();
  full_quad();
  bind_texture(0, l.mat_tex);
  b.overlay_mat.bind_target();
  full_quad();
  if (alpha_test) glEnable(GL_ALPHA_TEST);
}

void draw_layer_pass(const DisplayLayer& l, float scale) {
  const CanvasBuffers& b = canvas_buffers;
  bind_texture(2, b.scratch.texture());
  bind_texture(3, b.canvas_normals.texture());
  glColor4f(l.color[0], l.color[1], l.color[2], l.opacity);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslatef(l.posx * scale, l.posy * scale, 0);
  std::array<float, 3> lpos = layer_light(l);
  const Program& p = program(Prog::paint_display);
  p.set("lpos", lpos[0], lpos[1], lpos[2]);
  mirrored_draw(display_settings.mirror_mode, lpos);
  glPopMatrix();
}

}  // namespace

// How far a changed canvas pixel reaches into the picture: the lighting reads
// the amount one texel over, the doubled resolution's filtering one more, and
// the averaging back and the sharpen's taps one more each.
constexpr int display_reach = 4;
// How far from the region a layer's paint can still show in it: the widest
// pass scissor (3) and the filtered read of the amount (1), with a texel to spare.
constexpr int blank_reach = 5;

std::optional<PixelRect> display_region(std::span<const DisplayLayer> layers, const DisplayInputs& in) {
  const DisplaySettings& s = display_settings;
  if (!in.changed || s.glowing != 0 || s.mirror_mode != 0 || in.warp_mode || in.mask_view || in.placing_picture ||
      !in.lasso.empty() || in.perspective_guide || canvas_buffers.canvas_texture_dirty)
    return std::nullopt;
  for (const DisplayLayer& l : layers)
    if (l.posx != 0 || l.posy != 0) return std::nullopt;
  const int w = geometry.width, h = geometry.height;
  if (in.changed->empty()) return PixelRect{};
  const PixelRect r = in.changed->grown(display_reach).clipped(w, h);
  if (r.covers(w, h)) return std::nullopt;
  return r;
}

PixelRect render_display(std::span<const DisplayLayer> layers, const DisplayInputs& in) {
  CanvasBuffers& b = canvas_buffers;
  const DisplaySettings& s = display_settings;
  const std::optional<PixelRect> region = display_region(layers, in);
  if (region && region->empty()) return {};
  if (b.canvas_texture_dirty) build_canvas_texture();
  const int w = geometry.width, h = geometry.height;
  // Each pass redoes the region and what the passes after it read around it;
  // the rest of every buffer still holds the last display's pixels.
  auto reach = [&](int m) { return region ? std::optional<PixelRect>(region->grown(m)) : std::nullopt; };

  // A layer with no paint near the region adds nothing to the thickness and
  // draws nothing (its pass discards where the amount is 0): only the
  // painted layers are composited again.
  // One query answers for all of them when none has paint there, the usual
  // case of layers painted elsewhere or not yet.
  std::vector<bool> blank(layers.size(), false);
  if (region) {
    std::vector<GLuint> others;
    for (const DisplayLayer& l : layers)
      if (!l.active && !l.hidden) others.push_back(l.mat_tex);
    const PixelRect near = region->grown(blank_reach);
    const bool any = any_nonzero(others, w, h, near);
    for (std::size_t i = 0; i < layers.size(); ++i)
      if (!layers[i].active && !layers[i].hidden)
        blank[i] = !any || !any_nonzero(std::span(&layers[i].mat_tex, 1), w, h, near);
  }
  {
    ScopedScissor sc(reach(3), 1, w, h);
    thickness_sum(layers, blank, in);
  }

  const bool hq = s.high_quality && !in.warp_mode;
  const Buffer& target = hq ? b.hq_target : b.paint_image;
  {
    ScopedResolution at(hq ? 2 * w : w, hq ? 2 * h : h);
    ScopedScissor sc(reach(hq ? 2 : 0), hq ? 2 : 1, w, h);
    const float scale = hq ? 2.0f : 1.0f;
    target.bind_target();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(0);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    bind_texture(0, b.canvas_image.texture());
    full_quad();
    glEnable(GL_BLEND);

    set_frame_uniforms();
    const GLint mag = (!s.high_quality && in.warp_mode) ? GL_NEAREST : GL_LINEAR;
    for (std::size_t i = 0; i < layers.size(); ++i) {
      const DisplayLayer& l = layers[i];
      if (blank[i]) continue;
      glBindTexture(GL_TEXTURE_2D, l.mat_tex);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
      glBindTexture(GL_TEXTURE_2D, 0);
      const bool warped = in.warp_mode && l.active;
      if (warped) {
        warp_overlay(l);
        target.bind_target();
      }
      bind_layer(l, warped ? b.overlay_mat.texture() : l.mat_tex, warped ? b.overlay_col.texture() : l.col_tex);
      set_layer_uniforms(l);
      if (l.hidden) continue;
      if (in.mask_view && l.active) {
        prepare_mask_view(l);
        target.bind_target();
        bind_layer(l, b.mask_view_mat.texture(), b.mask_view_col.texture());
      }
      draw_layer_pass(l, scale);
      if (in.placing_picture && l.active) {
        bind_layer(l, b.overlay_mat.texture(), b.overlay_col.texture());
        draw_layer_pass(l, scale);
      }
    }
  }

  if (hq) {
    // Back to the canvas size: each pixel the average of its 2 x 2 (linear
    // filtering halfway between them), then the sharpen restores the edges.
    glUseProgram(0);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    {
      // A copy: transparent pixels must not keep what was there before.
      ScopedScissor sc(reach(1), 1, w, h);
      glDisable(GL_ALPHA_TEST);
      b.hq_reduced.bind_target();
      bind_texture(0, b.hq_target.texture());
      // Level 0 only: the canvas texture's build leaves mipmaps of its own here.
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
      full_quad();
      glEnable(GL_ALPHA_TEST);
    }
    ScopedScissor sc(region, 1, w, h);
    b.paint_image.bind_target();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    program(Prog::sharpen).use().set("offset", geometry.texel_x, geometry.texel_y).set("strength", 0.05f);
    bind_texture(0, b.hq_reduced.texture());
    full_quad();
  }

  if (s.glowing != 0) add_glow(s.glowing);
  {
    ScopedScissor sc(region, 1, w, h);
    copy_to_view(s.dither != 0);
  }
  // Over the shown picture only: exports read paint_image, and the guide is
  // a help for the eye, not part of the painting.
  if (in.perspective_guide) {
    b.view_image.bind_target();
    set_projection(w, h);
    in.perspective_guide();
    set_projection(w, h);
  }
  if (!in.lasso.empty()) draw_lasso(in);
  glUseProgram(0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return region.value_or(PixelRect{0, 0, w, h});
}

}  // namespace gpu
