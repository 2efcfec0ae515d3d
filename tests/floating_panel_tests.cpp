// The brush-mode panel in the real frame: its controls answer the mouse, and
// what the GUI owns lays no paint. At 640 x 480 the panel, 160 x 128 and
// anchored to the bottom right 128 pixels in, spans x 352..512, y 352..480.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/app_state.h"
#include "app/floating_panels.h"
#include "app/frame_state.h"
#include "tests/script_run.h"
#include "tests/stroke_helpers.h"

namespace {

constexpr int W = 640, H = 480;

std::string click(int x, int y) {
  return "mouse " + std::to_string(x) + " " + std::to_string(y) + "\nframe\ndown left\nframe 3\nup left\nframe 2\n";
}

float most_paint_along(const LayerPixels& p, int x0, int x1, int y) {
  float m = 0;
  for (int x = x0; x <= x1; ++x) m = std::max(m, p.amount(x, y));
  return m;
}

// The pen makes the paint independent of the mouse's speed.
const std::string setup = "set \"BRUSH:SIZE\" 10\ncolor 0.9 0.1 0.1\npen 0.85\n";

TEST(FloatingPanels, ADragBegunOnAPanelPaintsNothingAnywhere) {
  ScriptRun r(W, H);
  // From the panel's bare background out past its right edge.
  ASSERT_EQ(r.run(setup + drag_script(500, 460, 100, 460)), "");
  EXPECT_TRUE(gui.hovered_panel == nullptr) << "the pointer ended beside the panel";
  EXPECT_EQ(most_paint_along(read_layer(), 90, 510, 460), 0.0f);
  // The same drag begun beside the panel paints.
  ASSERT_EQ(r.run(setup + drag_script(500, 300, 100, 300)), "");
  EXPECT_GT(most_paint_along(read_layer(), 110, 490, 300), 0.1f);
}

TEST(FloatingPanels, ToolIconsSelectTheBrushModeWithoutPainting) {
  ScriptRun r(W, H);
  ASSERT_EQ(r.run(setup), "");
  // Written out from the panel's table, so that a layout mistake cannot move
  // a control and its test together: erase, average, smudge, paint.
  const struct { int x, y; } icons[] = {{447, 381}, {490, 372}, {408, 396}, {380, 455}};
  const unsigned char modes[] = {2, 3, 1, 0};
  for (int i = 0; i < 4; ++i) {
    // With the pen down a click alone would lay a dab.
    ASSERT_EQ(r.run(setup + click(icons[i].x, icons[i].y)), "");
    EXPECT_EQ(frame_state.brush_mode, modes[i]) << "icon at " << icons[i].x << "," << icons[i].y;
    EXPECT_EQ(most_paint_along(read_layer(), icons[i].x - 5, icons[i].x + 5, icons[i].y), 0.0f);
  }
}

TEST(FloatingPanels, ClrEmptiesTheLayer) {
  ScriptRun r(W, H);
  ASSERT_EQ(r.run(setup + drag_script(100, 100, 300, 100)), "");
  ASSERT_GT(most_paint_along(read_layer(), 120, 280, 100), 0.1f);
  ASSERT_EQ(r.run(setup + click(472, 420)), "");
  EXPECT_EQ(most_paint_along(read_layer(), 90, 310, 100), 0.0f);
}

TEST(FloatingPanels, ClosedOnASmallWindow) {
  ScriptRun r(160, 90);
  ASSERT_EQ(r.run("frame\n"), "");
  EXPECT_TRUE(gui.open_panels.empty());
}

}  // namespace

// MASK switches mask mode on and off and is lit while it is on; FL stretches
// the layer's colours as Shift+Ctrl+F does.
TEST(FloatingPanels, MaskAndFlActOnTheLayer) {
  ScriptRun r(W, H);
  ASSERT_EQ(r.run(setup + "color 0.3 0.3 0.3\n" + drag_script(100, 100, 300, 100) + "pen off\nframe\n"), "");
  ASSERT_EQ(r.run(click(472, 442)), "");
  EXPECT_EQ(modes.mask_mode, 1);
  const ui::gui_gadget* mask = nullptr;
  for (const auto& c : gui.open_panels.front()->childrenlist)
    if (c->name == "MASK") mask = c.get();
  ASSERT_TRUE(mask);
  EXPECT_TRUE(mask->lit());
  ASSERT_EQ(r.run(click(472, 442)), "");
  EXPECT_EQ(modes.mask_mode, 0);
  EXPECT_FALSE(mask->lit());
  const float before = read_layer().colour(200, 100)[0];
  ASSERT_EQ(r.run(click(497, 420)), "");
  EXPECT_GT(read_layer().colour(200, 100)[0], before + 0.2f);
}
