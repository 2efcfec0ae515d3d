// The floating panels drawn on the headless context: the relief has holes
// where the controls sit, the glass changes nothing outside the panels, a
// window redrawn in part shows what one drawn whole shows, and what did not
// change is not drawn again.
#include <cmath>
#include <optional>

#include "gpu/buffer.h"
#include "gpu/geometry.h"
#include "tests/gl_fixture.h"
#include "ui/glass_backdrop.h"
#include "ui/gui_draw.h"
#include "ui/gui_redraw.h"
#include "ui/tooltip.h"

namespace {

constexpr int W = 320, H = 180;
constexpr float px = 40, py = 30, pw = 160, ph = 100;  // the panel

// A picture with detail everywhere, so that any stray write shows.
void draw_picture() {
  gpu::set_projection(W, H);
  glUseProgram(0);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glBegin(GL_QUADS);
  for (int y = 0; y < H; y += 10)
    for (int x = 0; x < W; x += 10) {
      glColor4f(float(x) / W, float(y) / H, float((x / 10 + y / 10) % 2), 1);
      glVertex2f(float(x), float(y));
      glVertex2f(float(x + 10), float(y));
      glVertex2f(float(x + 10), float(y + 10));
      glVertex2f(float(x), float(y + 10));
    }
  glEnd();
  glColor4f(1, 1, 1, 1);
}

struct Scene {
  ui::GuiContext g;
  ui::GuiImages images = ui::make_gui_images();
  gpu::Buffer relief;
  ui::gui_master* panel;
  ui::gui_gadget* dial;
  Scene() {
    panel =
        &g.add(ui::gui_master::Create("PANEL", vec2d::Create(px, py), vec2d::Create(pw, ph), ui::PointerShape::panel));
    panel->set_color(0.56f, 0.65f, 0.72f, 1);
    dial = &panel->add(ui::gui_gadget::Create("DIAL", ui::GadgetKind::dial, vec2d::Create(20, 30),
                                              vec2d::Create(40, 40), ui::PointerShape::hand));
    dial->image = images.dial.id();
    dial->set_color(0, 0, 0, 0.2f);
    dial->value_float = 0.5f;
    auto& slider = panel->add(ui::gui_gadget::Create("", ui::GadgetKind::slider, vec2d::Create(10, 80),
                                                     vec2d::Create(140, 14), ui::PointerShape::hand));
    slider.set_color(0.3f, 0.6f, 0.8f, 1);
    slider.hover = 1;
    ui::bake_relief(*panel, relief);
    g.open(*panel);
    panel->layout(W, H);
  }
};

class GuiDraw : public GlTest {};

TEST_F(GuiDraw, ReliefHasHolesWhereTheControlsSit) {
  Scene s;
  ASSERT_EQ(s.panel->image, s.relief.texture());
  const std::vector<float> r = read_texture(s.relief.texture(), int(pw), int(ph), GL_RGBA, 4);
  // Texture rows run bottom-up.
  auto alpha = [&](int x, int y) {
    return r[(std::size_t(int(ph) - 1 - y) * std::size_t(pw) + std::size_t(x)) * 4 + 3];
  };
  EXPECT_LT(alpha(40, 50), 0.25f) << "the dial's centre is a hole";
  EXPECT_GT(alpha(110, 40), 0.5f) << "the slab away from the controls";
  // The slider's track is too thin to stay a hole: it bends the normals
  // into a groove, where the flat slab faces straight up.
  auto slope = [&](int x, int y) {
    const std::size_t i = (std::size_t(int(ph) - 1 - y) * std::size_t(pw) + std::size_t(x)) * 4;
    return std::hypot(r[i], r[i + 1]);
  };
  float groove = 0;
  for (int y = 80; y < 92; ++y) groove = std::max(groove, slope(80, y));
  EXPECT_GT(groove, 0.3f);
  EXPECT_LT(slope(110, 40), 0.05f);
  for (float v : r) ASSERT_TRUE(std::isfinite(v));
}

// The window with the picture, the picture changed within `mark` (a light
// block) when it is not empty, and the GUI over it.
struct Window {
  gpu::Buffer screen = gpu::Buffer::create(W, H, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  gpu::Buffer copy = gpu::Buffer::create(W, H, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  ui::GlassBackdrop backdrop;

  // Draws the picture (with the mark) within `region` (everywhere: nullopt)
  // and the GUI over it, as the frame does.
  ui::GuiDrawCount draw(Scene& s, const gpu::PixelRect& mark, const std::optional<gpu::PixelRect>& region,
                        bool gui_shown = true) {
    screen.bind_target();
    gpu::ScopedScissor scissor(region, 1, W, H);
    draw_picture();
    if (!mark.empty()) {
      glColor4f(1, 1, 0.8f, 1);
      glBegin(GL_QUADS);
      glVertex2f(float(mark.x0), float(mark.y0));
      glVertex2f(float(mark.x1), float(mark.y0));
      glVertex2f(float(mark.x1), float(mark.y1));
      glVertex2f(float(mark.x0), float(mark.y1));
      glEnd();
      glColor4f(1, 1, 1, 1);
    }
    if (!gui_shown) return {};
    ui::copy_screen(copy, W, H);
    backdrop.update(copy.texture(), W, H, {ui::panel_footprint(*s.panel)}, region);
    return ui::draw_gui(s.g, ui::GuiPainter{}, backdrop.texture(), W, H, region);
  }
  std::vector<float> pixels() {
    glFinish();
    return read_texture(screen.texture(), W, H, GL_RGBA, 4);
  }
};

TEST_F(GuiDraw, PixelsOutsideThePanelsAreTheSameDrawnOrHidden) {
  Scene s;
  Window w;
  w.draw(s, {}, std::nullopt, false);
  const std::vector<float> hidden = w.pixels();
  w.draw(s, {}, std::nullopt);
  const std::vector<float> shown = w.pixels();
  int outside_diff = 0, inside_diff = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      // Row 0 of the read-back is the bottom of the screen.
      const float sy = float(H - 1 - y) + 0.5f, sx = float(x) + 0.5f;
      const bool inside = sx > px && sx < px + pw && sy > py && sy < py + ph;
      float d = 0;
      for (int c = 0; c < 4; ++c) {
        const std::size_t i = (std::size_t(y) * W + std::size_t(x)) * 4 + std::size_t(c);
        d = std::max(d, std::abs(shown[i] - hidden[i]));
      }
      if (!inside && d > 0) ++outside_diff;
      if (inside && d > 0.05f) ++inside_diff;
    }
  EXPECT_EQ(outside_diff, 0);
  EXPECT_GT(inside_diff, int(pw * ph / 4)) << "the panel shows";
}

// The picture changes in a block; the frame redraws that block and the glass
// near it. The window must equal one drawn whole, and the glass must show
// the change where it is close enough to be seen through it.
TEST_F(GuiDraw, PartRedrawnAfterAChangeMatchesTheWholeRedraw) {
  const struct {
    const char* name;
    gpu::PixelRect mark;
    bool seen;  // the glass refracts the change
  } cases[] = {
      {"far left", {2, 60, 12, 70}, false},
      {"far right", {280, 60, 290, 100}, false},
      {"just left of the panel", {30, 50, 38, 60}, true},
      {"under the panel's middle", {110, 60, 118, 68}, true},
      {"under the dial", {75, 75, 85, 85}, true},
      {"across the right edge", {195, 20, 210, 140}, true},
  };
  for (const auto& c : cases) {
    Scene s;
    Window part, whole;
    part.draw(s, {}, std::nullopt);
    const std::vector<float> before = part.pixels();
    const gpu::PixelRect redraw = c.mark.united(ui::glass_near(s.g, c.mark));
    part.draw(s, c.mark, redraw);
    whole.draw(s, c.mark, std::nullopt);
    const std::vector<float> a = part.pixels(), b = whole.pixels();
    ASSERT_EQ(a.size(), b.size());
    int differ = 0, panel_changed = 0;
    for (std::size_t i = 0; i < a.size(); ++i) differ += a[i] != b[i];
    for (int y = int(py) + 1; y < int(py + ph) - 1; ++y)
      for (int x = int(px) + 1; x < int(px + pw) - 1; ++x) {
        const bool marked = x >= c.mark.x0 && x < c.mark.x1 && y >= c.mark.y0 && y < c.mark.y1;
        const std::size_t i = (std::size_t(H - 1 - y) * W + std::size_t(x)) * 4;
        if (!marked && std::abs(b[i] - before[i]) > 0.01f) ++panel_changed;
      }
    EXPECT_EQ(differ, 0) << c.name;
    EXPECT_EQ(panel_changed > 0, c.seen) << c.name << ": " << panel_changed << " glass pixels changed";
  }
}

TEST_F(GuiDraw, WhatDidNotChangeIsNotDrawnAgain) {
  Scene s;
  Window w;
  ui::GuiRedraw redraw;
  const gpu::PixelRect first = redraw.changes(s.g);
  EXPECT_TRUE(first.x0 <= int(px) && first.y0 <= int(py) && first.x1 >= int(px + pw) && first.y1 >= int(py + ph))
      << "the first look is new";
  EXPECT_TRUE(redraw.changes(s.g).empty()) << "nothing changed";

  // The dial's needle moves: its box is redrawn, no more.
  s.dial->value_float = 0.8f;
  const gpu::PixelRect dial = redraw.changes(s.g);
  EXPECT_EQ(dial.x0, int(px + 20));
  EXPECT_EQ(dial.y0, int(py + 30));
  EXPECT_EQ(dial.x1, int(px + 60));
  EXPECT_EQ(dial.y1, int(py + 70));

  // A highlight fading redraws by steps, then stops.
  s.dial->hover = 1;
  int redraws = 0;
  for (int frame = 0; frame < 200; ++frame) {
    ui::fade_highlights(s.g);
    redraws += !redraw.changes(s.g).empty();
  }
  EXPECT_EQ(s.dial->hover, 0.0f);
  EXPECT_GT(redraws, 8);
  EXPECT_LT(redraws, 40);

  // Drawing only that box draws the panel's glass and the dial's, nothing
  // else; a box away from the panel draws no glass at all.
  w.draw(s, {}, std::nullopt);
  const ui::GuiDrawCount in_dial = w.draw(s, {}, dial);
  EXPECT_EQ(in_dial.glass_quads, 2);
  EXPECT_EQ(in_dial.glass_pixels, 2 * dial.area());
  const ui::GuiDrawCount away = w.draw(s, {}, gpu::PixelRect{250, 150, 300, 170});
  EXPECT_EQ(away.glass_quads, 0);
  EXPECT_EQ(away.glass_pixels, 0.0);
}

TEST_F(GuiDraw, AHoveredDialShowsItsValueBoxAndItIsRedrawn) {
  Scene s;
  Window w;
  ui::GuiRedraw redraw;
  w.draw(s, {}, std::nullopt);
  redraw.changes(s.g);
  const std::vector<float> plain = w.pixels();
  s.g.hovered = s.dial;
  // The box appears: its pixels are redrawn, and they darken.
  const gpu::PixelRect changed = redraw.changes(s.g);
  const gpu::PixelRect box = ui::tooltip_area(*s.dial);
  EXPECT_TRUE(changed.x0 <= box.x0 && changed.y0 <= box.y0 && changed.x1 >= box.x1 && changed.y1 >= box.y1);
  w.draw(s, {}, changed);
  const std::vector<float> shown = w.pixels();
  auto luma = [](const std::vector<float>& p, int x, int y) {
    const std::size_t i = (std::size_t(H - 1 - y) * W + std::size_t(x)) * 4;
    return p[i] + p[i + 1] + p[i + 2];
  };
  // The box's middle, clear of its text at the left.
  EXPECT_LT(luma(shown, box.x0 + 18 + 40, box.y0 + 2), luma(plain, box.x0 + 18 + 40, box.y0 + 2) * 0.7f);
  EXPECT_TRUE(redraw.changes(s.g).empty());
  s.g.hovered = nullptr;
  EXPECT_FALSE(redraw.changes(s.g).empty()) << "and it goes away again";
}

}  // namespace
