// The colour wheel: the colour the pointer picks is the colour drawn under it.
#include <gtest/gtest.h>

#include "gpu/buffer.h"
#include "gpu/geometry.h"
#include "tests/gl_fixture.h"
#include "ui/color_mixer_draw.h"
#include "ui/color_wheel.h"

TEST_F(GlTest, WheelPicksTheColourItShows) {
  constexpr int n = 100;
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0, 0, 0, 0);
  gpu::Buffer target = gpu::Buffer::create(n, n, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
  gpu::ScopedResolution at(n, n);
  target.bind_target();
  ui::WheelLook look;
  look.pos = vec2d::Create(0, 0);
  look.size = n;
  look.midpoint = 0.8f;
  const float colour[4] = {0.8f, 0.4f, 0.2f, 0.64f};
  std::copy(colour, colour + 4, look.color);
  ui::draw_color_wheel(look, n, n);
  const std::vector<float> px = read_texture(target.texture(), n, n, GL_RGBA, 4);
  auto drawn = [&](int x, int y) { return &px[(std::size_t(n - 1 - y) * n + std::size_t(x)) * 4]; };

  using Part = ui::WheelColor::Part;
  struct Case {
    int x, y;
    Part part;
  } cases[] = {
      {80, 50, Part::disc},  {50, 50, Part::disc}, {30, 30, Part::disc},  {40, 75, Part::disc},
      {50, 97, Part::value}, {8, 72, Part::value}, {95, 62, Part::value},
  };
  for (const Case& c : cases) {
    const ui::WheelColor w =
        ui::wheel_color_at(vec2d::Create(float(c.x) + 0.5f, float(c.y) + 0.5f), look.pos, look.size, colour, 0.8f);
    ASSERT_EQ(int(w.part), int(c.part)) << c.x << "," << c.y;
    const float* d = drawn(c.x, c.y);
    EXPECT_GT(d[3], 0.9f) << "the wheel is visible: its alpha uniform is set";
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(w.rgb[i], d[i], 0.04f) << c.x << "," << c.y << " component " << i;
  }
  // The disc's right is red, its centre white at the value.
  const ui::WheelColor right = ui::wheel_color_at(vec2d::Create(84, 50), look.pos, look.size, colour, 0.8f);
  EXPECT_NEAR(right.rgb[0], 0.8f, 0.05f);
  EXPECT_LT(right.rgb[1], 0.4f);
  const ui::WheelColor top = ui::wheel_color_at(vec2d::Create(50, 4), look.pos, look.size, colour, 0.8f);
  EXPECT_EQ(int(top.part), int(Part::opacity));
  EXPECT_NEAR(top.alpha, 0.25f, 0.05f) << "the ramp's middle";
  EXPECT_EQ(int(ui::wheel_color_at(vec2d::Create(2, 2), look.pos, look.size, colour, 0.8f).part), int(Part::none));
}
