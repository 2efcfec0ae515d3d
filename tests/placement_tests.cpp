#include <gtest/gtest.h>

#include "app/placement.h"

TEST(WindowPlacement, CentresOnLargeDesktopsAndFillsSmallOnes) {
  const struct {
    int dw, dh;
    WindowPlacement want;
  } cases[] = {
      {1920, 1080, {322, 191, 1288, 749}},  // room to spare: centred, frame added
      {1280, 1080, {0, 191, 1250, 749}},    // too narrow: x 0, desktop width - 30
      {1920, 715, {322, 40, 1288, 685}},    // too low: y 40, desktop height - 30
      {1200, 700, {0, 40, 1170, 670}},      // smaller than the canvas both ways
      {1296, 737, {10, 20, 1288, 749}},     // just enough room both ways
      {1295, 736, {0, 19, 1265, 749}},
  };
  for (const auto& c : cases) {
    WindowPlacement p = place_window(1280, 720, c.dw, c.dh);
    EXPECT_EQ(p.x, c.want.x) << c.dw << "x" << c.dh;
    EXPECT_EQ(p.y, c.want.y) << c.dw << "x" << c.dh;
    EXPECT_EQ(p.outer_w, c.want.outer_w) << c.dw << "x" << c.dh;
    EXPECT_EQ(p.outer_h, c.want.outer_h) << c.dw << "x" << c.dh;
  }
}
