#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "brush/bristle.h"
#include "brush/brush.h"
#include "gpu/buffer.h"
#include "gpu/geometry.h"
#include "tests/gl_fixture.h"

namespace {

class BristleTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    create_bristles();
    bristles.frame = BristleFrame{};
    bristles.count = 2001;
  }
  bristle& proto() { return *bristles.list.front(); }
};

float spread(const std::vector<float>& v) {
  const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
  return *hi - *lo;
}

}  // namespace

TEST_F(BristleTest, StartUpSetFillsTheUnitDisc) {
  ASSERT_EQ(bristles.list.size(), 4000u);
  create_bristles();  // a second call makes no more
  ASSERT_EQ(bristles.list.size(), 4000u);
  int inner = 0, rim = 0, quadrant[4] = {0, 0, 0, 0};
  for (const auto& b : bristles.list) {
    const float r = std::hypot(b->offset.x, b->offset.y);
    ASSERT_LE(r, 1.0001f);
    if (r > 0.9f) ++rim;
    if (r < 0.3f) ++inner;
    ++quadrant[(b->offset.x < 0) + 2 * (b->offset.y < 0)];
    const float steps = b->size / 0.4f;
    EXPECT_NEAR(steps, std::round(steps), 1e-4f);
    EXPECT_GE(b->size, 0.39f);
    EXPECT_LE(b->size, 4.01f);
    EXPECT_EQ(b->elastic, 0.25f);
  }
  // The pattern reaches from the centre to the rim on every side.
  EXPECT_GT(inner, 100);
  EXPECT_GT(rim, 100);
  for (int q : quadrant) EXPECT_GT(q, 300);
}

TEST_F(BristleTest, BiasMorphsTheFootprint) {
  const struct {
    float bias;
    bool flat_x, flat_y;  // every x (y) is 0
  } cases[] = {{0, false, false}, {1, false, true}, {-1, true, false}, {0.5f, false, false}};
  for (const auto& c : cases) {
    bristles.frame.bias = c.bias;
    proto().init(bristles.list, 80, 45);
    std::vector<float> xs, ys;
    for (bristle* b : bristles.array) {
      ASSERT_NE(b, nullptr);
      xs.push_back(b->offset.x);
      ys.push_back(b->offset.y);
    }
    EXPECT_EQ(xs.size(), 2001u);
    if (c.flat_y) {
      EXPECT_EQ(spread(ys), 0.0f) << c.bias;
    }
    if (c.flat_x) {
      EXPECT_EQ(spread(xs), 0.0f) << c.bias;
    }
    if (!c.flat_x) {
      EXPECT_GT(spread(xs), 1.5f) << c.bias;
    }
    if (!c.flat_y && c.bias <= 0) {
      EXPECT_GT(spread(ys), 1.5f) << c.bias;
    }
    if (c.bias == 0.5f) {
      EXPECT_LT(spread(ys), spread(xs)) << "positive bias flattens vertically";
    }
  }
}

TEST_F(BristleTest, SingleBristleAtBristleCountOne) {
  bristles.count = 1;
  proto().init(bristles.list, 10, 10);
  ASSERT_EQ(bristles.array.size(), 1u);
  EXPECT_EQ(bristles.array[0], bristles.list.front().get());
}

TEST_F(BristleTest, OscillationOffLeavesPositionAndPhase) {
  for (float chaos : {0.0f, 0.5f, 1.0f}) {
    bristles.frame.osc_chaos = chaos;
    bristles.frame.oscillate = 0;
    proto().init(bristles.list, 50, 50);
    std::vector<float> phases;
    for (bristle* b : bristles.array) phases.push_back(b->length);
    bristles.frame.delta_x = 5.0f / float(gpu::geometry.width);
    proto().draw_setup(bristles.list, 55, 50);
    for (std::size_t i = 0; i < bristles.array.size(); ++i) {
      const bristle& b = *bristles.array[i];
      EXPECT_EQ(b.pos.x, 55.0f);
      EXPECT_EQ(b.pos.y, 50.0f);
      EXPECT_EQ(b.length, phases[i]);
    }
  }
  // With oscillation on, centres differ per bristle and phases advance.
  bristles.frame.oscillate = 0.5f;
  bristles.frame.osc_chaos = 0;
  proto().init(bristles.list, 50, 50);
  const float before = bristles.array[3]->length;
  proto().draw_setup(bristles.list, 55, 50);
  EXPECT_NE(bristles.array[3]->length, before);
  EXPECT_NE(bristles.array[3]->pos.x, bristles.array[4]->pos.x);
}

TEST_F(BristleTest, LagNeverMovesATipFurtherThanItsDisplacement) {
  bristles.frame.radius = bristles.frame.old_radius = 10;
  proto().init(bristles.list, 40, 40);
  float x = 40;
  for (int frame = 0; frame < 6; ++frame) {
    x += 7;
    bristles.frame.delta_x = 7.0f / float(gpu::geometry.width);
    proto().draw_setup(bristles.list, x, 40);
    for (bristle* b : bristles.array) {
      // Tip without lag: centre plus the footprint point (direction +y keeps it unrotated).
      const float ux = b->pos.x + b->offset.y * 10, uy = b->pos.y + b->offset.x * 10;
      const float lag = std::hypot(b->tpos.x - ux, b->tpos.y - uy);
      ASSERT_LE(lag, std::hypot(b->vel.x, b->vel.y) + 1e-3f);
      ASSERT_GE(b->xtra_offset, 0.0f);
      ASSERT_LT(b->xtra_offset, 1.0f);
    }
  }
  EXPECT_EQ(bristles.array[0]->age, 6);
}

TEST(BristleBudget, AboutThePixelAreaOfTheBrushAndNoMoreThanTheCount) {
  const struct {
    float radius, bias;
    int count, expected;
  } cases[] = {
      {0.5f, 0, 2001, 9},   {7.5f, 0, 2001, 289}, {100, 0, 2001, 2001},
      {7.5f, 1, 2001, 142}, {7.5f, -1, 50, 50},   {0.5f, 0, 1, 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(bristle_budget(c.radius, c.bias, c.count), c.expected) << c.radius << " " << c.bias;
}

TEST(BristleRandom, StaysInItsRange) {
  for (int i = 0; i < 10000; ++i) {
    const float v = bristle_random(-1.5f, 2.5f);
    ASSERT_GE(v, -1.5f);
    ASSERT_LT(v, 2.5f);
  }
  EXPECT_EQ(bristle_random(0, 0), 0.0f);  // an empty range gives its start
}

TEST(BristleSpring, StepsTowardsItsTargetByAtMostItsLength) {
  const struct {
    float tx, ty, length;
    float expected;  // change of velocity
  } cases[] = {{10, 0, 2, 2}, {0.5f, 0, 2, 1}, {3, 4, 1, 1}, {0, -6, 0.5f, 0.5f}};
  for (const auto& c : cases) {
    bristle b;
    b.length = c.length;
    b.eval(c.tx, c.ty);
    EXPECT_NEAR(std::hypot(b.vel.x, b.vel.y), c.expected, 1e-5f) << c.tx << "," << c.ty;
    EXPECT_GT(b.vel.x * c.tx + b.vel.y * c.ty, 0.0f);  // towards the target
  }
}

TEST_F(BristleTest, StandingSegmentsArePointsForColourAndNothingForSmears) {
  gpu::Buffer target = gpu::Buffer::create(160, 90, GL_R32F, GL_RED, GL_CLAMP_TO_EDGE);
  for (bool smear : {false, true}) {
    target.bind_target();
    glClear(GL_COLOR_BUFFER_BIT);
    gpu::set_projection(160, 90);
    bristles.count = 50;
    bristles.frame.radius = bristles.frame.old_radius = 6;
    proto().init(bristles.list, 80, 45);
    proto().draw_setup(bristles.list, 80, 45);  // no motion: every segment has length 0
    for (bristle* b : bristles.array) {
      std::fill(b->ocol, b->ocol + 4, 1.0f);
      std::fill(b->col, b->col + 4, 1.0f);
    }
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    const int drawn = smear ? proto().draw_smear(bristles.list, 50) : proto().draw_col(bristles.list, 50);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    EXPECT_EQ(drawn, 50);
    const std::vector<float> px = read_texture(target.texture(), 160, 90, GL_RED, 1);
    int lit = 0;
    for (int y = 0; y < 90; ++y)
      for (int x = 0; x < 160; ++x)
        if (px[size_t(y) * 160 + x] > 0) {
          ++lit;
          EXPECT_LE(std::hypot(x + 0.5f - 80, 89 - y + 0.5f - 45), 8.0f);  // within the footprint
        }
    if (smear) {
      EXPECT_EQ(lit, 0);
    } else
      EXPECT_GT(lit, 10);
  }
}

TEST_F(BristleTest, StreakTrailsBehindTheBristle) {
  gpu::Buffer target = gpu::Buffer::create(160, 90, GL_R32F, GL_RED, GL_CLAMP_TO_EDGE);
  target.bind_target();
  glClear(GL_COLOR_BUFFER_BIT);
  gpu::set_projection(160, 90);
  bristle b;
  b.pos = vec2d::Create(100, 45);
  b.vel = vec2d::Create(30.0f / 160, 0);  // texture units per frame
  b.size = 6;
  b.press = 1;
  glUseProgram(0);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  b.draw_streak();
  glEnable(GL_ALPHA_TEST);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  const std::vector<float> px = read_texture(target.texture(), 160, 90, GL_RED, 1);
  const auto at = [&](int x, int y) { return px[size_t(89 - y) * 160 + x]; };
  for (int x : {75, 85, 95}) EXPECT_GT(at(x, 45), 0.0f) << x;  // behind
  EXPECT_EQ(at(110, 45), 0.0f);                                // ahead
  EXPECT_EQ(at(85, 55), 0.0f);                                 // beside
}

TEST(BrushObject, CreateAndSpringEveryBristle) {
  std::unique_ptr<brush> b = brush::Create(0, 3);
  EXPECT_EQ(b->style, 0);
  EXPECT_EQ(b->bristle_count, 3);
  EXPECT_EQ(b->size, 1.0f);
  EXPECT_EQ(b->size_min, 0.0f);
  EXPECT_TRUE(b->bristlelist.empty());
  EXPECT_FALSE(b->pos.has_value());
  for (int i = 0; i < 3; ++i) bristle::Create(b->bristlelist, vec2d::Create(float(i), 0), 1, 1, 0);
  b->eval(5, 5);
  for (const auto& h : b->bristlelist) {
    EXPECT_GT(h->vel.x, 0.0f);
    EXPECT_GT(h->vel.y, 0.0f);
    EXPECT_EQ(h->elastic, 0.25f);
  }
}
