#include "ui/layer_fx_panel.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "layers/layer.h"
#include "ui/gl_state.h"

namespace ui {
namespace {

vec2d v(float x, float y) {
  return vec2d::Create(x, y);
}

constexpr float picture_x = 20, picture_y = 70, picture_w = 400, picture_h = 128;
constexpr float origin_x = 21, origin_y = 198;  // the histograms' baseline, relative to the panel
constexpr float marker_span = 398;

GadgetTarget field(float* f) {
  return {[f] { return *f; }, [f](float x) { *f = x; }};
}

gui_gadget& selector(gui_master& m, const char* name, float y, unsigned char channel, const float tint[3], LayerFX& fx,
                     const GuiImages& images) {
  gui_gadget& s = m.add(gui_gadget::Create(name, GadgetKind::selector, v(440, y), v(32, 20), PointerShape::hand));
  s.set_color(tint[0], tint[1], tint[2], 0.5f);
  s.image = images.button.id();
  s.set_text_param(1, 4, 3);
  s.target = byte_target(&fx.channels);
  s.trigger_value = channel;
  s.reference = [&fx] { return float(fx.channels); };
  return s;
}

void button(gui_master& m, const char* name, float x, float w, float shade, unsigned char* request,
            const GuiImages& images) {
  gui_gadget& b = m.add(gui_gadget::Create(name, GadgetKind::button, v(x, 240), v(w, 26), PointerShape::hand));
  b.set_color(shade, shade + 0.1f, shade + 0.2f, 0.5f);
  b.image = images.button.id();
  b.set_text_param(1, 8, 6);
  b.target = byte_target(request);
  b.trigger_value = 2;
}

// The colour a channel's lines and markers are drawn in.
struct ChannelLook {
  float rgb[3];
  float alpha;
};
constexpr ChannelLook looks[gpu::hist_channels] = {
    {{1, 0, 0}, 0.7f}, {{0, 1, 0}, 0.41f}, {{0, 0, 1}, 0.89f}, {{1, 1, 1}, 0.75f}};

void draw_columns(const LayerFxPanel& p, int channel, vec2d o) {
  const bool selected = p.fx.channels == channel;
  glBegin(GL_LINES);
  for (int i = 0; i <= gpu::histogram_columns; ++i) {
    const float shade = 0.5f * float(i) / 398;
    const float lit = channel == gpu::hist_blue ? 2 * shade : shade + 0.5f;
    const float s = selected ? lit : shade;
    const ChannelLook& k = looks[channel];
    glColor4f(k.rgb[0] * s, k.rgb[1] * s, k.rgb[2] * s, k.alpha);
    const float height = picture_h * gpu::histogram_column_height(p.histogram, channel, i, p.fx.histozoom);
    glVertex2f(o.x + float(i), o.y);
    glVertex2f(o.x + float(i), o.y - height);
  }
  glEnd();
}

// A line and two triangles at x, when x lies over the drawn columns: an
// empty layer's minimum of 10 marks nothing.
void draw_marker(float x, vec2d o) {
  if (x < o.x || x > o.x + gpu::histogram_columns) return;
  glBegin(GL_LINES);
  glVertex2f(x, o.y);
  glVertex2f(x, o.y - picture_h);
  glEnd();
  glBegin(GL_TRIANGLES);
  glVertex2f(x, o.y - 6);
  glVertex2f(x + 4, o.y);
  glVertex2f(x - 4, o.y);
  glVertex2f(x, o.y - 122);
  glVertex2f(x - 4, o.y - 128);
  glVertex2f(x + 4, o.y - 128);
  glEnd();
}

}  // namespace

void build_layer_fx_panel(LayerFxPanel& p, GuiContext& g, const GuiImages& images) {
  auto m = gui_master::Create("LAYER FX", v(330, 330), v(480, 280), PointerShape::panel);
  m->docked = false;
  m->set_text_param(1, 10, 8);
  m->set_color(0.56f, 0.65f, 0.72f, 1);
  LayerFX& fx = p.fx;
  gui_gadget& zoom = m->add(gui_gadget::Create("", GadgetKind::slider, v(10, 210), v(420, 20), PointerShape::hand));
  zoom.set_color(0.3f, 0.6f, 0.8f, 1);
  zoom.target = field(&fx.histozoom);
  zoom.value_treatment = 1;
  zoom.set_minmax(gpu::histogram_min_zoom, 1);
  const float lum[3] = {1, 1, 1}, red[3] = {0.9f, 0.3f, 0.2f}, green[3] = {0.2f, 0.9f, 0.3f},
              blue[3] = {0.2f, 0.3f, 0.9f};
  selector(*m, "LUM", 86, 3, lum, fx, images);
  selector(*m, "R", 112, 0, red, fx, images);
  selector(*m, "G", 138, 1, green, fx, images);
  selector(*m, "B", 164, 2, blue, fx, images);
  button(*m, "reset", 278, 60, 0.4f, &p.reset_request, images);
  button(*m, "auto", 345, 50, 0.4f, &p.auto_request, images);
  button(*m, "apply", 402, 60, 0.7f, &p.apply_request, images);
  gui_gadget& mover = m->add(gui_gadget::Create("", GadgetKind::mover, v(4, 4), v(456, 21), PointerShape::move));
  mover.set_color(0.3f, 0.6f, 0.8f, 1);
  gui_gadget& close = m->add(gui_gadget::Create("x", GadgetKind::close_box, v(452, 1), v(24, 24), PointerShape::hand));
  close.set_color(0.5f, 0.3f, 0.2f, 0.5f);
  close.image = images.button.id();
  close.set_text_param(1, 8, 5);
  bake_relief(*m, p.relief);
  p.panel = &g.add(std::move(m));
  p.panel->show = false;
}

bool serve_layer_fx_buttons(LayerFxPanel& p) {
  const bool reset = std::exchange(p.reset_request, 0) != 0, fit = std::exchange(p.auto_request, 0) != 0;
  const bool apply = std::exchange(p.apply_request, 0) != 0;
  if (reset) {
    p.fx.histozoom = 1;
    p.fx.channels = gpu::hist_luminance;
  }
  if (fit) {
    const float top = p.histogram.max_value[std::min<std::size_t>(p.fx.channels, gpu::hist_channels - 1)];
    p.fx.histozoom = top > 0 ? std::clamp(1 / top, gpu::histogram_min_zoom, 1.0f) : 1.0f;
  }
  if (apply) p.refresh = true;
  return reset || fit || apply;
}

void compute_layer_histogram(LayerFxPanel& p, const layer* active) {
  p.refresh = false;
  const gpu::Buffer& half = gpu::canvas_buffers.half_image;
  const int w = half.width(), h = half.height();
  if (!active || w <= 0 || h <= 0) {
    p.histogram = {};
    return;
  }
  std::vector<float> pixels(std::size_t(w) * std::size_t(h) * 4);
  {
    const SavedGlState saved;
    gpu::ScopedResolution res(w, h);
    half.bind_target();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    gpu::program(gpu::Prog::layer_composite).use().set_int("premul", 0).set("visibility", 1.0f);
    gpu::bind_texture(0, active->fbo_mat());
    gpu::bind_texture(1, active->fbo_col());
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 1);
    gpu::full_quad();
    glReadPixels(0, 0, w, h, GL_RGBA, GL_FLOAT, pixels.data());
    gpu::bind_texture(1, 0);
    gpu::bind_texture(0, 0);
  }
  p.histogram = gpu::compute_histogram(pixels, w, h);
}

void draw_layer_fx(const LayerFxPanel& p, float sw, float sh) {
  if (!p.panel || !p.panel->show || p.fx.effect != 0 || sw <= 0 || sh <= 0) return;
  const SavedGlState saved;
  screen_projection(sw, sh);
  glUseProgram(0);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  const vec2d at = p.panel->screen_pos;
  glEnable(GL_TEXTURE_2D);
  gpu::bind_texture(0, gpu::canvas_buffers.half_image.texture());
  glColor4f(1, 1, 1, 1);
  gpu::textured_rect(at.x + picture_x, at.y + picture_y, picture_w, picture_h);
  gpu::bind_texture(0, 0);
  glDisable(GL_TEXTURE_2D);
  glColor4f(0, 0, 0, 0.75f);
  plain_rect(at.x + picture_x, at.y + picture_y, picture_w, picture_h);

  const vec2d o = at.addv(v(origin_x, origin_y));
  glDisable(GL_LINE_SMOOTH);
  glLineWidth(1);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  for (int c = 0; c < gpu::hist_channels; ++c) draw_columns(p, c, o);

  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  const int c = std::min<int>(p.fx.channels, gpu::hist_channels - 1);
  const ChannelLook& k = looks[c];
  glColor4f(k.rgb[0], k.rgb[1], k.rgb[2], c == gpu::hist_luminance ? 0.9f : k.alpha);
  const float scale = p.fx.histozoom * marker_span;
  draw_marker(o.x + p.histogram.max_value[std::size_t(c)] * scale, o);
  draw_marker(o.x + p.histogram.min_value[std::size_t(c)] * scale, o);
}

}  // namespace ui
