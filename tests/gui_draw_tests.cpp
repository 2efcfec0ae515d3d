// The floating panels drawn on the headless context: the relief has holes
// where the controls sit, and the glass changes nothing outside the panels.
#include <cmath>

#include "gpu/buffer.h"
#include "gpu/geometry.h"
#include "tests/gl_fixture.h"
#include "ui/gui_draw.h"

namespace {

constexpr int W = 320, H = 180;
constexpr float px = 40, py = 30, pw = 160, ph = 100;  // the panel

// A picture with detail everywhere, so that any stray write shows.
void draw_backdrop() {
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

TEST_F(GuiDraw, PixelsOutsideThePanelsAreTheSameDrawnOrHidden) {
  Scene s;
  gpu::Buffer screen = gpu::Buffer::create(W, H, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  gpu::Buffer copy = gpu::Buffer::create(W, H, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  auto render = [&](bool gui_shown) {
    screen.bind_target();
    draw_backdrop();
    if (gui_shown) {
      ui::copy_screen(copy, W, H);
      ui::draw_gui(s.g, ui::GuiPainter{}, copy.texture(), W, H);
    }
    glFinish();
    return read_texture(screen.texture(), W, H, GL_RGBA, 4);
  };
  const std::vector<float> hidden = render(false), shown = render(true);
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

}  // namespace
