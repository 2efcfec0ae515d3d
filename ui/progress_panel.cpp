#include "ui/progress_panel.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/gl.h"
#include "ui/gl_state.h"
#include "ui/gui_draw.h"
#include "ui/gui_redraw.h"

namespace ui {

namespace {

constexpr float text_scale = 0.875f;  // 7 x 14 glyphs: a line and the bar fit the panel's height
constexpr float margin = 6;           // left and right of the caption
constexpr float bar_h = 2;            // the bar along the panel's lower edge

float lines_of(std::string_view text) {
  return float(1 + std::count(text.begin(), text.end(), '\n'));
}

// Width of the longest line at the caption's scale, as draw_text lays it out.
float caption_width(std::string_view text) {
  float widest = 0, line = 0;
  for (char c : text) {
    line = c == '\n' ? 0 : line + 8 * text_scale;
    widest = std::max(widest, line);
  }
  return widest;
}

}  // namespace

ProgressPanel::ProgressPanel(platform::Window& window, DrawText draw_text)
    : window_(window), draw_text_(std::move(draw_text)) {}

ProgressPanel::~ProgressPanel() {
  if (!restores_ || !picture_) return;
  const SavedGlState saved;
  window_.bind_screen();
  GLint screen = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &screen);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, picture_.framebuffer());
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, GLuint(screen));
  glBlitFramebuffer(0, 0, w_, h_, 0, 0, w_, h_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
}

void ProgressPanel::show(std::string_view caption, float done) {
  draw(caption, done, false);
}

void ProgressPanel::show_failure(std::string_view caption, std::string_view reason) {
  std::fprintf(stderr, "ollan: %.*s %.*s\n", int(caption.size()), caption.data(), int(reason.size()), reason.data());
  if (window_.headless()) return;
  std::string text(caption);
  text += "\n";
  text += reason;
  draw(text, 1, true);
  // Long enough to read; events keep flowing meanwhile.
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2500);
  while (std::chrono::steady_clock::now() < until) {
    window_.pump_events();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void ProgressPanel::draw(std::string_view text, float done, bool failure) {
  int w = 0, h = 0;
  window_.client_size(&w, &h);
  if (w <= 0 || h <= 0) return;
  const SavedGlState saved;
  window_.bind_screen();
  if (!picture_ || w != w_ || h != h_) {
    // The picture the panel goes over, as the last frame left it. A window
    // that does not keep its picture between frames has none to show.
    w_ = w, h_ = h;
    picture_ = gpu::Buffer::create(w, h, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
    window_.bind_screen();
    if (!window_.keeps_screen()) {
      glClearColor(0.18f, 0.18f, 0.2f, 1);
      glClear(GL_COLOR_BUFFER_BIT);
      glClearColor(0, 0, 0, 0);
    }
    copy_screen(picture_, w, h);
    restores_ = window_.keeps_screen();
    scene_.master_list.clear();
  } else {
    // Last showing's panel off again.
    GLint screen = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &screen);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, picture_.framebuffer());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, GLuint(screen));
    glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, GLuint(screen));
  }

  // The panel, baked again only when its size changes.
  const float pw = std::min(float(w), std::max(progress_panel_w, std::ceil(caption_width(text) + 2 * margin)));
  const float ph = std::max(progress_panel_h, lines_of(text) * 16 * text_scale + 4);
  const vec2d pos = vec2d::Create(std::floor((float(w) - pw) / 2), std::floor((float(h) - ph) / 2));
  if (scene_.master_list.empty() || scene_.master_list[0]->size.x != pw || scene_.master_list[0]->size.y != ph) {
    scene_.master_list.clear();
    gui_master& panel = scene_.add(gui_master::Create("", pos, vec2d::Create(pw, ph), PointerShape::arrow));
    panel.set_color(0.56f, 0.65f, 0.72f, 1);
    panel.transparency = 0.45f;
    bake_relief(panel, relief_);
    panel.layout(float(w), float(h));
    std::vector<gpu::PixelRect> footprint{panel_footprint(panel)};
    backdrop_ = GlassBackdrop();
    backdrop_.update(picture_.texture(), w, h, footprint, std::nullopt);
  }
  gui_master& panel = *scene_.master_list[0];
  panel.pos = pos;
  if (failure)
    panel.set_color(0.72f, 0.4f, 0.36f, 1);
  else
    panel.set_color(0.56f, 0.65f, 0.72f, 1);
  GuiPainter painter;
  draw_gui(scene_, painter, backdrop_.texture(), float(w), float(h));

  // The bar along the lower edge, then the caption.
  screen_projection(float(w), float(h));
  glUseProgram(0);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  const float bx = pos.x + 3, by = pos.y + ph - bar_h - 1, bw = pw - 6;
  glColor4f(0, 0, 0, 0.25f);
  plain_rect(bx, by, bw, bar_h);
  if (failure)
    glColor4f(0.95f, 0.4f, 0.35f, 1);
  else
    glColor4f(0.9f, 0.95f, 1, 0.9f);
  plain_rect(bx, by, bw * std::clamp(done, 0.0f, 1.0f), bar_h);
  if (draw_text_) {
    glEnable(GL_TEXTURE_2D);
    glColor4f(0, 0, 0, 0.6f);
    draw_text_(text, pos.x + margin + 1, pos.y + 2, text_scale);
    glColor4f(1, 1, 1, 1);
    draw_text_(text, pos.x + margin, pos.y + 1, text_scale);
  }
  window_.present();
}

}  // namespace ui
