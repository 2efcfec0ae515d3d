#include "ui/progress_panel.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/gl.h"
#include "ui/gl_state.h"

namespace ui {

namespace {

constexpr float panel_w = 300, panel_h = 52;

// Draws the panel on a cleared screen and presents it.
void draw_panel(const ProgressPanel& ctx, std::string_view caption, float done, bool failure) {
  int w = 0, h = 0;
  ctx.window.client_size(&w, &h);
  if (w <= 0 || h <= 0) return;
  ctx.window.bind_screen();
  glUseProgram(0);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, w, h, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0.18f, 0.18f, 0.2f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  const float x = std::floor((float(w) - panel_w) / 2), y = std::floor((float(h) - panel_h) / 2);
  glColor4f(0.05f, 0.05f, 0.06f, 0.85f);
  plain_rect(x, y, panel_w, panel_h);
  glColor4f(1, 1, 1, 0.15f);
  plain_rect(x + 10, y + 34, panel_w - 20, 8);
  if (failure)
    glColor4f(0.9f, 0.35f, 0.3f, 1);
  else
    glColor4f(0.85f, 0.85f, 0.9f, 1);
  plain_rect(x + 10, y + 34, (panel_w - 20) * std::clamp(done, 0.0f, 1.0f), 8);
  if (ctx.draw_text) {
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    ctx.draw_text(caption, x + 10, y + 8, 1);
  }
  glEnable(GL_TEXTURE_2D);
  ctx.window.present();
}

}  // namespace

void show_progress(const ProgressPanel& ctx, std::string_view caption, float done) {
  draw_panel(ctx, caption, done, false);
}

void show_failure(const ProgressPanel& ctx, std::string_view caption, std::string_view reason) {
  std::fprintf(stderr, "ollan: %.*s %.*s\n", int(caption.size()), caption.data(), int(reason.size()), reason.data());
  if (ctx.window.headless()) return;
  std::string text(caption);
  text += "\n";
  text += reason;
  draw_panel(ctx, text, 1, true);
  // Long enough to read; events keep flowing meanwhile.
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2500);
  while (std::chrono::steady_clock::now() < until) {
    ctx.window.pump_events();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace ui
