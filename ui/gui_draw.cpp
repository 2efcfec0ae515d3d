#include "ui/gui_draw.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "ui/gl_state.h"

namespace ui {
namespace {

constexpr int image_size = 64;

constexpr float deg = 3.14159265358979f / 180.0f;

// A normal map of a raised shape whose signed distance to its edge (negative
// inside, in pixels of a 64-pixel image) is `edge`: coverage in alpha, the
// slope of a rounded rim in xyz.
template <class Edge>
gpu::Texture relief_image(Edge edge) {
  std::vector<float> px(std::size_t(image_size) * image_size * 4);
  constexpr float rim = 6;
  auto height = [&](float x, float y) { return std::clamp(-edge(x, y) / rim, 0.0f, 1.0f); };
  for (int y = 0; y < image_size; ++y)
    for (int x = 0; x < image_size; ++x) {
      const float cx = float(x) + 0.5f, cy = float(y) + 0.5f;
      const float gx = height(cx + 1, cy) - height(cx - 1, cy), gy = height(cx, cy + 1) - height(cx, cy - 1);
      const float n = std::sqrt(gx * gx + gy * gy + 0.25f);
      float* p = &px[(std::size_t(y) * image_size + std::size_t(x)) * 4];
      p[0] = -gx / n;
      p[1] = -gy / n;
      p[2] = 0.5f / n;
      p[3] = std::clamp(0.5f - edge(cx, cy), 0.0f, 1.0f);
    }
  const SavedGlState saved;
  gpu::Texture t = gpu::Texture::create(image_size, image_size, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE, false);
  glBindTexture(GL_TEXTURE_2D, t.id());
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, image_size, image_size, GL_RGBA, GL_FLOAT, px.data());
  return t;
}

// A quad for `glass`: the first coordinate pair addresses the image, the
// second the position inside the element (0, 0 at its bottom-left).
void glass_rect(float x, float y, float w, float h) {
  glBegin(GL_QUADS);
  glTexCoord4f(0, 1, 0, 1);
  glVertex2f(x, y);
  glTexCoord4f(0, 0, 0, 0);
  glVertex2f(x, y + h);
  glTexCoord4f(1, 0, 1, 0);
  glVertex2f(x + w, y + h);
  glTexCoord4f(1, 1, 1, 1);
  glVertex2f(x + w, y);
  glEnd();
}

struct GlassFrame {
  const gpu::Program& glass;
  float sw, sh;
};

// The element at `at` (top-left, client pixels) through the glass.
void draw_glass(const GlassFrame& f, const gui& e, vec2d at, GLuint image, const float tint[4]) {
  if (!image || e.size.x <= 0 || e.size.y <= 0) return;
  f.glass.use()
      .set("ratio", e.size.x / e.size.y)
      .set("transparency", e.transparency)
      .set("specular", e.specularity)
      .set("wh_relative", e.size.x / f.sw, e.size.y / f.sh)
      .set("pos", at.x / f.sw, 1 - (at.y + e.size.y) / f.sh);
  gpu::bind_texture(0, image);
  glColor4f(tint[0], tint[1], tint[2], tint[3]);
  glass_rect(at.x, at.y, e.size.x, e.size.y);
}

// Text and lines are drawn without a program.
void fixed_function() {
  glUseProgram(0);
  gpu::bind_texture(0, 0);
}

void line(vec2d a, vec2d b, float alpha_a, float alpha_b) {
  glBegin(GL_LINES);
  glColor4f(1, 1, 1, alpha_a);
  glVertex2f(a.x, a.y);
  glColor4f(1, 1, 1, alpha_b);
  glVertex2f(b.x, b.y);
  glEnd();
}

void draw_label(const GuiPainter& p, const std::string& text, vec2d at, float scale, float alpha, float grey = 1) {
  if (text.empty() || !p.draw_text) return;
  glEnable(GL_TEXTURE_2D);
  glColor4f(grey, grey, grey, alpha);
  p.draw_text(text, at.x, at.y, scale);
  glDisable(GL_TEXTURE_2D);
  gpu::bind_texture(0, 0);
}

void draw_control(const GlassFrame& f, const GuiPainter& p, gui_gadget& c) {
  if (c.gadget == GadgetKind::mover) return;
  const bool lit = c.lit();
  if (lit) c.hover = 1;
  float tint[4] = {c.col[0], c.col[1], c.col[2], c.col[3]};
  if (lit) {
    tint[0] *= 2.0f;
    tint[1] *= 1.9f;
    tint[2] *= 1.5f;
  }
  if (c.gadget == GadgetKind::slider) {
    // The track: a bar across the middle, the handle: a line across it.
    fixed_function();
    glColor4f(c.col[0] * 2.0f * c.hover, c.col[1] * 1.9f * c.hover, c.col[2] * 1.5f * c.hover, c.col[3]);
    const bool across = c.slider_type == 0;
    const float t = across ? c.size.y : c.size.x;
    if (across)
      plain_rect(c.pos.x + 0.5f * t, c.pos.y + 0.4f * t, c.size.x - t, 0.2f * t);
    else
      plain_rect(c.pos.x + 0.4f * t, c.pos.y + 0.5f * t, 0.2f * t, c.size.y - t);
    glLineWidth(2);
    const vec2d h = c.pos.addv(c.handle_pos).add(0.5f * t);
    if (across)
      line(vec2d::Create(h.x, c.pos.y + 2), vec2d::Create(h.x, c.pos.y + c.size.y - 2), 0.9f, 0.9f);
    else
      line(vec2d::Create(c.pos.x + 2, h.y), vec2d::Create(c.pos.x + c.size.x - 2, h.y), 0.9f, 0.9f);
  } else {
    draw_glass(f, c, c.pos, c.image, tint);
    fixed_function();
  }
  draw_label(p, c.label(), c.pos.addv(c.text_offset), c.text_size, 0.15f + 0.6f * c.hover);
  if (c.gadget == GadgetKind::dial) {
    // 0 just left of straight down, 0.5 straight up, 1 just right of down.
    const float a = (350 - 340 * std::clamp(c.value_float, 0.0f, 1.0f)) * deg;
    const vec2d centre = c.pos.addv(c.size.mul(0.5f));
    const vec2d tip = vec2d::Create(std::sin(a) * (0.5f * c.size.x - 2), std::cos(a) * (0.5f * c.size.y - 2));
    glLineWidth(2);
    // y grows downwards on screen: cos a = 1 points down.
    line(centre.addv(tip), centre.addv(tip.mul(0.25f)), 0.9f, 0.25f);
  }
  if (c.display_image) {
    const float inset_x = c.text_offset.x, inset_y = c.text_offset.y;
    glEnable(GL_TEXTURE_2D);
    gpu::bind_texture(0, c.display_image);
    glColor4f(1, 1, 1, 0.3f + 0.7f * c.hover);
    gpu::textured_rect(c.pos.x + inset_x, c.pos.y + inset_y, c.size.x - 2 * inset_x, c.size.y - 2 * inset_y);
    glDisable(GL_TEXTURE_2D);
    gpu::bind_texture(0, 0);
  }
}

}  // namespace

GuiImages make_gui_images() {
  GuiImages im;
  const float half = image_size / 2.0f;
  im.button = relief_image([=](float x, float y) {
    constexpr float corner = 12;
    const float qx = std::abs(x - half) - (half - 1 - corner), qy = std::abs(y - half) - (half - 1 - corner);
    return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - corner;
  });
  im.dial = relief_image([=](float x, float y) { return std::hypot(x - half, y - half) - (half - 1); });
  return im;
}

void bake_relief(gui_master& panel, gpu::Buffer& relief) {
  const int w = std::max(1, int(panel.size.x)), h = std::max(1, int(panel.size.y));
  const SavedGlState saved;
  glClearColor(1, 1, 1, 1);
  gpu::Buffer slab = gpu::Buffer::create(w, h, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
  glClearColor(0, 0, 0, 0);
  gpu::Buffer scratch = gpu::Buffer::create(w, h, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
  relief = gpu::Buffer::create(w, h, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
  {
    gpu::ScopedResolution res(w, h);
    glUseProgram(0);
    slab.bind_target();
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    if (panel.source_image) {
      glDisable(GL_BLEND);
      glEnable(GL_TEXTURE_2D);
      gpu::bind_texture(0, panel.source_image);
      gpu::full_quad();
      glEnable(GL_BLEND);
    }
    // Each control's footprint becomes a hole; a title bar is darkened.
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    for (auto& c : panel.childrenlist) {
      const vec2d r = c->relative_pos;
      if (c->gadget == GadgetKind::mover) {
        glDisable(GL_TEXTURE_2D);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(0.15f, 0.15f, 0.15f, 0.5f);
        plain_rect(r.x, r.y, c->size.x, c->size.y);
        continue;
      }
      glBlendFunc(GL_ZERO, GL_ZERO);
      glColor4f(1, 1, 1, 1);
      if (c->gadget == GadgetKind::slider) {
        glDisable(GL_TEXTURE_2D);
        if (c->slider_type == 0)
          plain_rect(r.x + 0.5f * c->size.y, r.y + 0.3f * c->size.y, c->size.x - c->size.y, 0.25f * c->size.y);
        else
          plain_rect(r.x + 0.4f * c->size.x, r.y + 0.5f * c->size.x, 0.25f * c->size.x, c->size.y - c->size.x);
      } else if (c->image) {
        glEnable(GL_TEXTURE_2D);
        gpu::bind_texture(0, c->image);
        gpu::textured_rect(r.x, r.y, c->size.x, c->size.y);
      } else {
        glDisable(GL_TEXTURE_2D);
        plain_rect(r.x, r.y, c->size.x, c->size.y);
      }
    }
    glDisable(GL_ALPHA_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    for (const gui_shape& s : panel.shapelist) {
      gpu::bind_texture(0, s.image);
      gpu::textured_rect(s.pos.x, s.pos.y, s.size.x, s.size.y);
    }
    glDisable(GL_BLEND);

    // Soft edges: four diffusion steps, ping-ponging between the buffers.
    const gpu::Program& diffuse = gpu::program(gpu::Prog::jacobi_diffuse).use();
    diffuse.set("offset", 1.0f / float(w), 1.0f / float(h)).set("spread", 1.0f).set("spdiff", 5.0f);
    for (int i = 0; i < 4; ++i) {
      const gpu::Buffer& from = i % 2 ? scratch : slab;
      const gpu::Buffer& to = i % 2 ? slab : scratch;
      to.bind_target();
      gpu::bind_texture(0, from.texture());
      gpu::bind_texture(1, from.texture());
      gpu::full_quad();
    }
    gpu::program(gpu::Prog::alpha_to_normal).use().set("offset", 1.0f / float(w), 1.0f / float(h));
    relief.bind_target();
    gpu::bind_texture(1, 0);
    gpu::bind_texture(0, slab.texture());
    gpu::full_quad();
    glUseProgram(0);
    gpu::bind_texture(0, 0);
  }
  panel.image = relief.texture();
}

void copy_screen(const gpu::Buffer& screen_copy, int w, int h) {
  GLint screen = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &screen);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(screen));
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, screen_copy.framebuffer());
  const int cw = std::min(w, screen_copy.width()), ch = std::min(h, screen_copy.height());
  glBlitFramebuffer(0, 0, cw, ch, 0, 0, cw, ch, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, GLuint(screen));
}

void draw_gui(GuiContext& g, const GuiPainter& p, GLuint screen_copy, float sw, float sh) {
  if (sw <= 0 || sh <= 0) return;
  const SavedGlState saved;
  screen_projection(sw, sh);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  const gpu::Program& glass = gpu::program(gpu::Prog::glass);
  glass.use().set("ri", 0.97f).set("eye", 0.5f, 0.5f).set("lpos", p.light_x, p.light_y + sh / sw, 2.0f);
  gpu::bind_texture(1, screen_copy);
  const GlassFrame f{glass, sw, sh};
  for (const auto& m : g.master_list) {
    if (!m->show || m->size.x <= 0 || m->size.y <= 0) continue;
    m->layout(sw, sh);
    draw_glass(f, *m, m->screen_pos, m->image, m->col);
    fixed_function();
    // The title: a black shadow under white.
    const vec2d title = m->screen_pos.addv(m->text_offset);
    draw_label(p, m->name, title, m->text_size, 0.75f, 0);
    draw_label(p, m->name, title.subxy(1, 1), m->text_size, 0.75f);
    for (auto& c : m->childrenlist)
      if (c->show) draw_control(f, p, *c);
    m->hover *= 0.95f;
    for (auto& c : m->childrenlist) c->hover *= 0.95f;
  }
  gpu::bind_texture(1, 0);
  gpu::bind_texture(0, 0);
}

void draw_pointer(const GuiContext& g, vec2d pos, float brush_radius, float sw, float sh) {
  if (sw <= 0 || sh <= 0) return;
  if (g.hovered_panel || g.active_gadget) {
    draw_pointer_shape(g.pointer_shape, pos, sw, sh);
    return;
  }
  const SavedGlState saved;
  screen_projection(sw, sh);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  // The brush outline, two pixels wide whatever the radius.
  const float r = std::max(brush_radius, 2.0f) + 1;
  gpu::program(gpu::Prog::ring).use().set("thickness", 2.0f / r);
  glColor4f(1, 1, 1, 0.6f);
  gpu::textured_rect(pos.x - r, pos.y - r, 2 * r, 2 * r);
  glUseProgram(0);
}

void draw_pointer_shape(PointerShape shape, vec2d pos, float sw, float sh) {
  if (sw <= 0 || sh <= 0) return;
  const SavedGlState saved;
  screen_projection(sw, sh);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  fixed_function();
  glLineWidth(1);
  glColor4f(1, 1, 1, 0.9f);
  glBegin(GL_LINES);
  switch (shape) {
    case PointerShape::slide_sideways:
      glVertex2f(pos.x - 8, pos.y);
      glVertex2f(pos.x + 8, pos.y);
      break;
    case PointerShape::slide_upright:
      glVertex2f(pos.x, pos.y - 8);
      glVertex2f(pos.x, pos.y + 8);
      break;
    case PointerShape::move:
      glVertex2f(pos.x - 8, pos.y);
      glVertex2f(pos.x + 8, pos.y);
      glVertex2f(pos.x, pos.y - 8);
      glVertex2f(pos.x, pos.y + 8);
      break;
    case PointerShape::arrow:
    case PointerShape::hand:
    case PointerShape::panel:
      // An arrow: its tip at the pointer.
      glVertex2f(pos.x, pos.y);
      glVertex2f(pos.x + 10, pos.y + 10);
      glVertex2f(pos.x, pos.y);
      glVertex2f(pos.x, pos.y + 12);
      glVertex2f(pos.x, pos.y);
      glVertex2f(pos.x + 7, pos.y + 3);
      break;
  }
  glEnd();
  if (shape == PointerShape::hand) {
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < 12; ++i)
      glVertex2f(pos.x + 3 * std::sin(float(i) * 30 * deg), pos.y + 3 * std::cos(float(i) * 30 * deg));
    glEnd();
  }
}

}  // namespace ui
