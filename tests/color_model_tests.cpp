// The colour model: what follows the colour when it is set, the dials'
// hooks, the saturation rebuild and the hue dancer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "base/random.h"
#include "document/color_model.h"
#include "document/color_settings.h"
#include "document/document_state.h"
#include "document/parameters.h"

namespace {

using document::ParamId;
using document::Rgb;

struct Fresh {
  Fresh() { document::reset_settings(); }
  ~Fresh() { document::reset_settings(); }
};

Rgb current() {
  const float* c = color_settings.current;
  return {c[0], c[1], c[2]};
}

// The hue in degrees, as a painter reads it.
float hue_of(const Rgb& c) {
  const float mx = std::max({c[0], c[1], c[2]}), mn = std::min({c[0], c[1], c[2]}), d = mx - mn;
  float h = mx == c[0]   ? std::fmod((c[1] - c[2]) / d + 6, 6.0f)
            : mx == c[1] ? (c[2] - c[0]) / d + 2
                         : (c[0] - c[1]) / d + 4;
  return 60 * h;
}

float hue_distance(float a, float b) {
  const float d = std::fmod(std::abs(a - b), 360.0f);
  return std::min(d, 360 - d);
}

void expect_rgb(const Rgb& got, const Rgb& want, float tol, const char* what) {
  for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], tol) << what << " component " << i;
}

}  // namespace

TEST(ColorModel, SettingTheColourSetsEverythingDerivedFromIt) {
  Fresh fresh;
  struct Case {
    Rgb rgb;
    float midpoint, saturation;
    Rgb tint;
  };
  const Case cases[] = {
      {{1, 0, 0}, 1, 1, {1, 0, 0}},
      {{0, 1, 0}, 1, 1, {0, 1, 0}},
      {{0, 0, 1}, 1, 1, {0, 0, 1}},
      {{0.5f, 0.5f, 0.5f}, 0.5f, 0, {1, 1, 1}},
      {{0.8f, 0.4f, 0.2f}, 0.8f, std::sqrt(0.75f), {1, 0.5f, 0.25f}},
  };
  for (const Case& c : cases) {
    color_settings.changed = false;
    document::set_color(c.rgb[0], c.rgb[1], c.rgb[2]);
    const ColorSettings& s = color_settings;
    expect_rgb(current(), c.rgb, 0, "colour");
    expect_rgb({s.red, s.green, s.blue}, c.rgb, 0, "dials");
    EXPECT_FLOAT_EQ(s.midpoint, c.midpoint);
    EXPECT_NEAR(s.saturate, c.saturation, 1e-6f);
    expect_rgb({s.tint[0], s.tint[1], s.tint[2]}, c.tint, 1e-6f, "tint");
    EXPECT_EQ(s.current[3], 1);
    EXPECT_TRUE(document::take_color_changed()) << "the brush is told";
    EXPECT_FALSE(document::take_color_changed()) << "once";
  }
  // Black has no hue and no saturation: both stay as they were.
  document::set_color(0.8f, 0.4f, 0.2f);
  document::set_color(0, 0, 0);
  EXPECT_EQ(color_settings.midpoint, 0);
  EXPECT_NEAR(color_settings.saturate, std::sqrt(0.75f), 1e-6f);
  EXPECT_FLOAT_EQ(color_settings.tint[1], 0.5f);
  // What a file or a script cannot mean is no colour.
  document::set_color(NAN, -1, INFINITY, NAN);
  expect_rgb(current(), {0, 0, 0}, 0, "not a number, negative, infinite");
  EXPECT_EQ(color_settings.current[3], 1);
}

TEST(ColorModel, DialsStartFromTheColourAndTheColourFollowsThem) {
  Fresh fresh;
  const ColorSettings& s = color_settings;
  expect_rgb({s.red, s.green, s.blue}, current(), 0, "the dials show the start colour");
  EXPECT_NEAR(s.saturate, document::saturation_dial(current(), -1), 1e-6f);

  // One dial changes one component; the others keep theirs.
  ASSERT_TRUE(document::set_value(ParamId::color_red, 0.9));
  expect_rgb(current(), {0.9f, 0.1f, 0.05f}, 1e-6f, "red dial");
  EXPECT_FLOAT_EQ(s.midpoint, 0.9f);
  EXPECT_NEAR(s.saturate, std::sqrt(0.85f / 0.9f), 1e-6f);
  ASSERT_TRUE(document::set_value(ParamId::color_blue, 0.5));
  expect_rgb(current(), {0.9f, 0.1f, 0.5f}, 1e-6f, "blue dial");

  // The gamma dial sits beside them but is the display's.
  ASSERT_TRUE(document::set_value(ParamId::color_drp_gamma, 0.7));
  expect_rgb(current(), {0.9f, 0.1f, 0.5f}, 1e-6f, "gamma dial");

  // "Defaults" puts the start colour back, with no saturation from nowhere.
  document::write_reset_values();
  expect_rgb(current(), {0.25f, 0.1f, 0.05f}, 1e-6f, "defaults");
  for (float v : current()) EXPECT_TRUE(std::isfinite(v));
}

TEST(ColorModel, SaturateKeepsHueAndValue) {
  Fresh fresh;
  const Rgb colours[] = {{0.8f, 0.4f, 0.2f}, {0.1f, 0.9f, 0.6f}, {0.3f, 0.2f, 0.25f}, {1, 0, 0.5f}};
  for (const Rgb& c : colours) {
    document::set_color(c[0], c[1], c[2]);
    const float hue = hue_of(c), value = std::max({c[0], c[1], c[2]});
    for (float sat : {0.9f, 0.5f, 0.2f, 1.0f, 0.05f}) {
      ASSERT_TRUE(document::set_value(ParamId::color_saturate, sat));
      const Rgb now = current();
      EXPECT_NEAR(std::max({now[0], now[1], now[2]}), value, 1e-6f) << "value, at " << sat;
      EXPECT_NEAR(hue_distance(hue_of(now), hue), 0, 0.05f) << "hue, at " << sat;
      EXPECT_NEAR(document::saturation_dial(now, -1), sat, 1e-5f) << "the dial reads what it was set to";
      EXPECT_GE(std::min({now[0], now[1], now[2]}), 0);
    }
    // The drag rebuilds from where it started: coming back to the start
    // saturation gives the start colour.
    ASSERT_TRUE(document::set_value(ParamId::color_saturate, document::saturation_dial(c, -1)));
    expect_rgb(current(), c, 1e-5f, "back to the start");
  }
  // A grey or black colour has no hue to saturate: nothing changes, and no
  // division by zero paints NaN.
  for (const Rgb& c : {Rgb{0.4f, 0.4f, 0.4f}, Rgb{0, 0, 0}}) {
    document::set_color(c[0], c[1], c[2]);
    ASSERT_TRUE(document::set_value(ParamId::color_saturate, 0.7));
    expect_rgb(current(), c, 0, "grey");
  }
}

TEST(ColorModel, HueTurnsKeepMaximumAndMinimum) {
  struct Case {
    Rgb from;
    float degrees;
    Rgb to;
  };
  const Case cases[] = {
      {{1, 0, 0}, 120, {0, 1, 0}},
      {{1, 0, 0}, 240, {0, 0, 1}},
      {{1, 0, 0}, 60, {1, 1, 0}},
      {{1, 0, 0}, -60, {1, 0, 1}},
      {{0.8f, 0.2f, 0.2f}, 180, {0.2f, 0.8f, 0.8f}},
      {{0.5f, 0.5f, 0.5f}, 90, {0.5f, 0.5f, 0.5f}},
  };
  for (const Case& c : cases) expect_rgb(document::rotate_hue(c.from, c.degrees), c.to, 1e-5f, "turn");
  EXPECT_FLOAT_EQ(document::hue_dance_degrees(1, 0, 1, -1), -180);
  EXPECT_FLOAT_EQ(document::hue_dance_degrees(0.5f, 1, 1, 1), 0.25f * 180 * 0.25f);
}

TEST(ColorModel, HueDancerWithAFixedSeed) {
  Fresh fresh;
  auto dance = [](std::uint64_t seed) {
    seed_random(seed);
    document::set_color(0.9f, 0.3f, 0.1f);
    std::vector<Rgb> seen;
    for (int i = 0; i < 12; ++i) {
      document::dance_hue();
      seen.push_back(current());
    }
    return seen;
  };
  ASSERT_TRUE(document::set_value(ParamId::hue_dancer, 1));
  const std::vector<Rgb> a = dance(7);
  float moved = 0;
  for (const Rgb& c : a) {
    EXPECT_NEAR(std::max({c[0], c[1], c[2]}), 0.9f, 1e-5f);
    EXPECT_NEAR(std::min({c[0], c[1], c[2]}), 0.1f, 1e-5f);
    moved = std::max(moved, hue_distance(hue_of(c), hue_of({0.9f, 0.3f, 0.1f})));
  }
  EXPECT_GT(moved, 10) << "the hue wanders";
  EXPECT_EQ(dance(7), a) << "the same seed dances the same";

  // Without the dial, or for a grey colour, the colour stays.
  ASSERT_TRUE(document::set_value(ParamId::hue_dancer, 0));
  document::set_color(0.9f, 0.3f, 0.1f);
  document::dance_hue();
  expect_rgb(current(), {0.9f, 0.3f, 0.1f}, 0, "no dancer");
  ASSERT_TRUE(document::set_value(ParamId::hue_dancer, 1));
  document::set_color(0.5f, 0.5f, 0.5f);
  document::dance_hue();
  expect_rgb(current(), {0.5f, 0.5f, 0.5f}, 0, "grey");
}

TEST(ColorModel, XSwapsWithTheAlternateAndTheDialsFollow) {
  Fresh fresh;
  document::set_color(0.9f, 0.8f, 0.7f);
  document::swap_alternate_color();
  expect_rgb(current(), {0.25f, 0.1f, 0.05f}, 0, "the alternate");
  EXPECT_FLOAT_EQ(color_settings.red, 0.25f);
  EXPECT_FLOAT_EQ(color_settings.midpoint, 0.25f);
  document::swap_alternate_color();
  expect_rgb(current(), {0.9f, 0.8f, 0.7f}, 0, "and back");
}
