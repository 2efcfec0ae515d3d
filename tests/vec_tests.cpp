#include <gtest/gtest.h>

#include <cmath>

#include "base/vec.h"

TEST(Vec2d, AnglesFollowTheYUpConvention) {
  const struct {
    float x, y, angle;
  } cases[] = {{0, 5, 0}, {5, 0, 90}, {0, -5, 180}, {-5, 0, 270}, {0, 0, 90}, {3, 3, 45}, {-3, 3, 315}};
  for (const auto& c : cases) {
    vec2d v = vec2d::Create(c.x, c.y);
    v.get_angle();
    EXPECT_NEAR(v.angle, c.angle, 1e-3) << c.x << "," << c.y;
    if (c.x != 0 || c.y != 0) {
      v.set_angle();
      EXPECT_NEAR(v.x * 5, c.x / std::hypot(c.x, c.y) * 5, 1e-4);
      EXPECT_NEAR(v.y * 5, c.y / std::hypot(c.x, c.y) * 5, 1e-4);
    }
  }
}

TEST(Vec2d, RunningAngleCountsWholeTurns) {
  auto turn_to = [](vec2d& v, float degrees) {
    v.angle = degrees;
    v.set_angle();
    v.get_rangle();
  };
  vec2d v;
  turn_to(v, 170);
  turn_to(v, 260);
  turn_to(v, 359);  // small steps: no turn counted yet
  EXPECT_NEAR(v.rangle, 359, 1e-2);
  EXPECT_EQ(v.angle_cnt, 0);
  turn_to(v, 1);
  EXPECT_EQ(v.angle_cnt, 360);
  EXPECT_NEAR(v.rangle, 361, 1e-2);
  turn_to(v, 359);
  EXPECT_EQ(v.angle_cnt, 0);
  EXPECT_NEAR(v.rangle, 359, 1e-2);
  // from the start (rangle 0) a jump to 359 is read as one degree backwards
  vec2d w;
  turn_to(w, 359);
  EXPECT_EQ(w.angle_cnt, -360);
  EXPECT_NEAR(w.rangle, -1, 1e-2);
}

TEST(Vec2d, ZeroVectorsAreLeftAlone) {
  vec2d v;
  v.normalize();
  EXPECT_EQ(v.x, 0);
  EXPECT_EQ(v.y, 0);
  EXPECT_EQ(v.length(), 0);
  EXPECT_EQ(v.span, 0);
  vec3d w;
  w.normalize();
  EXPECT_EQ(w.length(), 0);
}

TEST(Vec2d, LengthCachesSpanAndSetVKeepsOwnCounters) {
  vec2d v = vec2d::Create(3, 4);
  EXPECT_FLOAT_EQ(v.length(), 5);
  EXPECT_FLOAT_EQ(v.span, 5);
  v.normalize();
  EXPECT_FLOAT_EQ(v.span, 5) << "normalize does not touch span";
  vec2d a;
  a.angle_cnt = 720;
  a.span = 9;
  vec2d b = vec2d::Create(1, 2);
  b.angle = 10;
  b.rangle = 370;
  b.angle_cnt = 360;
  a.set_v(b);
  EXPECT_EQ(a.x, 1);
  EXPECT_EQ(a.rangle, 370);
  EXPECT_EQ(a.angle_cnt, 720);
  EXPECT_EQ(a.span, 9);
}

TEST(Vec2d, ArithmeticReturnsFreshVectors) {
  vec2d a = vec2d::Create(1, 2);
  a.angle = 33;
  a.span = 7;
  vec2d s = a.addv(vec2d::Create(3, 4));
  EXPECT_EQ(s.x, 4);
  EXPECT_EQ(s.y, 6);
  EXPECT_EQ(s.angle, 0);
  EXPECT_EQ(s.span, 0);
  EXPECT_EQ(a.x, 1);
  EXPECT_EQ(a.mulv(vec2d::Create(2, 3)).y, 6);
  EXPECT_EQ(a.subxy(1, 1).y, 1);
  a.rotcw();
  EXPECT_EQ(a.x, 2);
  EXPECT_EQ(a.y, -1);
  a.rotccw();
  EXPECT_EQ(a.x, 1);
  EXPECT_EQ(a.y, 2);
  vec2d l = vec2d::Create(0, 2);
  l.angle = 90;
  l.set_angle_len();
  EXPECT_NEAR(l.x, 2, 1e-5);
  EXPECT_NEAR(l.y, 0, 1e-5);
}

TEST(Corner, VelocityUsesCanvasWidthAndPointsUp) {
  corner c = corner::Create(vec2d::Create(100, 100));
  EXPECT_EQ(c.velx(1280), 0);
  c.p = vec2d::Create(112.8f, 90);
  EXPECT_NEAR(c.velx(1280), 0.01f, 1e-6);
  EXPECT_GT(c.vely(1280), 0) << "moving up the screen is positive";
  EXPECT_NEAR(c.vely(1280), 10.0f / 1280.0f, 1e-6);
}
