// The progress panel is a small glass panel over the picture the window
// showed: nothing outside it changes, showing it again does not build up,
// a longer caption widens it, and when it goes the picture is as it was.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gpu/geometry.h"
#include "platform/headless_window.h"
#include "tests/gl_fixture.h"
#include "ui/gl_state.h"
#include "ui/progress_panel.h"

namespace {

constexpr int W = 320, H = 180;

// A picture with detail everywhere, drawn into the window's screen.
void draw_picture(platform::Window& window) {
  window.bind_screen();
  ui::screen_projection(W, H);
  glUseProgram(0);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glBegin(GL_QUADS);
  for (int y = 0; y < H; y += 6)
    for (int x = 0; x < W; x += 6) {
      glColor4f(float(x) / W, float(y) / H, float((x / 6 + y / 6) % 2), 1);
      glVertex2f(float(x), float(y));
      glVertex2f(float(x + 6), float(y));
      glVertex2f(float(x + 6), float(y + 6));
      glVertex2f(float(x), float(y + 6));
    }
  glEnd();
  glColor4f(1, 1, 1, 1);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// The window's screen, RGBA bytes, top row first.
struct Screen {
  std::vector<uint8_t> px;
  const uint8_t* at(int x, int y) const { return &px[(std::size_t(y) * W + std::size_t(x)) * 4]; }
  bool same_at(const Screen& o, int x, int y) const { return std::equal(at(x, y), at(x, y) + 4, o.at(x, y)); }
};

Screen read_screen(platform::Window& window) {
  window.bind_screen();
  Screen s;
  s.px.resize(std::size_t(W) * H * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, s.px.data());
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  // GL's rows run bottom-up.
  std::vector<uint8_t> flipped(s.px.size());
  for (int y = 0; y < H; ++y)
    std::copy_n(&s.px[std::size_t(H - 1 - y) * W * 4], W * 4, &flipped[std::size_t(y) * W * 4]);
  s.px = std::move(flipped);
  return s;
}

// The box of pixels that differ between the two, as x0, y0, x1, y1 (exclusive).
std::array<int, 4> changed_box(const Screen& a, const Screen& b) {
  std::array<int, 4> box{W, H, 0, 0};
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (!a.same_at(b, x, y))
        box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1), std::max(box[3], y + 1)};
  return box;
}

// Stands in for the font: a white block over each caption's extent.
void block_text(std::string_view text, float x, float y, float scale) {
  glDisable(GL_TEXTURE_2D);
  ui::plain_rect(x, y, 8 * scale * float(text.size()), 16 * scale);
}

}  // namespace

TEST(ProgressPanel, GlassOverThePictureThatGoesAgain) {
  gl_canvas(W, H);
  std::string error;
  std::unique_ptr<platform::Window> window = platform::create_headless_window(W, H, &error);
  ASSERT_TRUE(window) << error;
  draw_picture(*window);
  const Screen picture = read_screen(*window);
  {
    ui::ProgressPanel panel(*window, block_text);
    panel.show("Saving project...", 0.25f);
    const Screen quarter = read_screen(*window);
    // 174 x 18, centred; the picture elsewhere untouched.
    const std::array<int, 4> box = changed_box(picture, quarter);
    const int x0 = (W - 174) / 2, y0 = (H - 18) / 2;
    EXPECT_GE(box[0], x0);
    EXPECT_GE(box[1], y0);
    EXPECT_LE(box[2], x0 + 174);
    EXPECT_LE(box[3], y0 + 18);
    EXPECT_GT(box[2] - box[0], 160) << "the panel is narrower than 174";
    EXPECT_GT(box[3] - box[1], 14) << "the panel is lower than 18";
    // Glass: the picture shows through it (the panel is not one flat colour).
    int shades = 0;
    for (int x = x0 + 100; x < x0 + 170; ++x)
      shades += !std::equal(quarter.at(x, y0 + 8), quarter.at(x, y0 + 8) + 3, quarter.at(x + 1, y0 + 8));
    EXPECT_GT(shades, 5);

    // Shown again further on: only the bar moved on; nothing built up.
    panel.show("Saving project...", 0.75f);
    const Screen three_quarters = read_screen(*window);
    const std::array<int, 4> moved = changed_box(quarter, three_quarters);
    EXPECT_GE(moved[1], y0 + 18 - 4) << "more than the bar changed";
    EXPECT_GT(moved[2], moved[0]) << "the bar did not move";
    EXPECT_EQ(changed_box(picture, three_quarters), box);

    // A caption longer than the panel widens it, still centred.
    panel.show("Loading color swatches...", 0.5f);
    const std::array<int, 4> wide = changed_box(picture, read_screen(*window));
    EXPECT_LT(wide[0], box[0]);
    EXPECT_GT(wide[2], box[2]);
    EXPECT_LE(std::abs((wide[0] + wide[2]) - W), 2);
  }
  // Gone: the picture is back as it was.
  const Screen after = read_screen(*window);
  EXPECT_EQ(changed_box(picture, after)[2], 0) << "the panel stayed on the picture";
}
