#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/app_state.h"
#include "tests/script_run.h"
#include "tests/stroke_helpers.h"

namespace {

std::string drag_script(int x0, int y0, int x1, int y1, int steps) {
  std::string s = "mouse " + std::to_string(x0) + " " + std::to_string(y0) + "\nframe\ndown left\n";
  for (int i = 1; i <= steps; ++i)
    s += "mouse " + std::to_string(x0 + (x1 - x0) * i / steps) + " " + std::to_string(y0 + (y1 - y0) * i / steps) +
         "\nframe\n";
  return s + "up left\nframe\n";
}

// A red horizontal stroke, then a smudge dragged down across its middle: the
// smudge pushes red paint below the stroke along its path, and nowhere else.
TEST(SmudgeReplay, SmudgePushesWetPaintAlongTheDrag) {
  ScriptRun r(160, 90);
  ASSERT_EQ(r.run("set \"BRUSH:SIZE\" 12\npen 0.85\ncolor 0.9 0.1 0.1\n" + drag_script(20, 40, 140, 40, 24)), "");
  const LayerPixels stroke = read_layer();
  ASSERT_GT(stroke.amount(80, 40), 0.3f);
  for (int y = 46; y < 75; ++y) ASSERT_EQ(stroke.amount(80, y), 0.0f) << "below the stroke is bare, y " << y;

  ASSERT_EQ(r.run("pen 0.85\nkey down Left Shift\n" + drag_script(80, 25, 80, 75, 20)), "");
  const LayerPixels smudged = read_layer();
  float pushed = 0;
  int at = 0;
  for (int y = 46; y < 75; ++y)
    if (smudged.amount(80, y) > pushed) {
      pushed = smudged.amount(80, y);
      at = y;
    }
  EXPECT_GT(pushed, 0.5f) << "paint was pushed below the stroke";
  const float* c = smudged.colour(80, at);
  EXPECT_GT(c[0], 2 * c[1]) << "the pushed paint is the stroke's red";
  EXPECT_GT(c[0], 2 * c[2]);
  for (int y = 46; y < 75; ++y) EXPECT_EQ(smudged.amount(30, y), 0.0f) << "away from the drag nothing moved";
}

// The same drag in warp mode bends the map instead of the paint; leaving warp
// mode resamples the stroke through it.
TEST(SmudgeReplay, WarpDragBendsTheStrokeWhenWarpModeEnds) {
  ScriptRun r(160, 90);
  ASSERT_EQ(r.run("set \"BRUSH:SIZE\" 12\npen 0.85\ncolor 0.9 0.1 0.1\n" + drag_script(20, 40, 140, 40, 24)), "");
  const LayerPixels stroke = read_layer();
  ASSERT_EQ(r.run("key down Left Ctrl\nkey press W\nframe\n"), "");
  ASSERT_TRUE(modes.warp_mode);
  // Neither painting nor smudging lays anything while warping.
  ASSERT_EQ(r.run("pen 0.85\ncolor 0.1 0.9 0.1\n" + drag_script(30, 60, 130, 60, 10)), "");
  ASSERT_EQ(r.run("pen 0.85\nkey down Left Shift\n" + drag_script(80, 25, 80, 75, 20)), "");
  const LayerPixels during = read_layer();
  EXPECT_EQ(during.mat, stroke.mat) << "warping leaves the paint itself alone";
  EXPECT_EQ(during.col, stroke.col) << "and its colour";
  ASSERT_EQ(r.run("key down Left Ctrl\nkey press W\nframe\n"), "");
  ASSERT_FALSE(modes.warp_mode);
  const LayerPixels bent = read_layer();
  float pushed = 0;
  for (int y = 46; y < 75; ++y) pushed = std::max(pushed, bent.amount(80, y));
  EXPECT_GT(pushed, 0.1f) << "the stroke bent down along the drag";
  for (int y = 46; y < 75; ++y) EXPECT_EQ(bent.amount(30, y), 0.0f) << "and nowhere else";
}

}  // namespace
