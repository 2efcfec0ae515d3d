// The brush-mode panel in the real frame: its controls answer the mouse, and
// what the GUI owns lays no paint. At 640 x 480 the panel, 160 x 128 and
// anchored to the bottom right 128 pixels in, spans x 352..512, y 352..480.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/app_state.h"
#include "app/floating_panels.h"
#include "app/frame_state.h"
#include "brush/brush_settings.h"
#include "gpu/simulation_settings.h"
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
  // From the panel's bare background (between "=" and WARP) out past its
  // left edge.
  ASSERT_EQ(r.run(setup + drag_script(448, 472, 100, 472)), "");
  EXPECT_TRUE(gui.hovered_panel == nullptr) << "the pointer ended beside the panel";
  EXPECT_FALSE(modes.warp_mode);
  EXPECT_EQ(most_paint_along(read_layer(), 90, 510, 472), 0.0f);
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

const ui::gui_gadget* control(const std::string& label) {
  for (const ui::gui_master* m : gui.open_panels)
    for (const auto& c : m->childrenlist)
      if (c->name == label) return c.get();
  return nullptr;
}

TEST(FloatingPanels, ModeControlsSwitchTheirStatesOncePerPress) {
  ScriptRun r(W, H);
  ASSERT_EQ(r.run(setup + "frame\n"), "");
  ASSERT_EQ(brush_settings.paint_submode, 1) << "\">\" at start";
  ASSERT_TRUE(control("=") && control("WARP") && control("*"));
  EXPECT_EQ(control("=")->label(), ">");
  // Written out from the panel's table: "=" at 60, 84 (28 x 28), "*" at
  // 135, 80 (20 x 20) and WARP at 105, 102 (50 x 23) in the panel at 352, 352.
  const unsigned char submodes[] = {2, 0, 1};
  const char* const labels[] = {"+", "=", ">"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(r.run(setup + click(426, 450)), "");
    EXPECT_EQ(brush_settings.paint_submode, submodes[i]) << "press " << i;
    EXPECT_EQ(control("=")->label(), labels[i]);
  }
  for (const unsigned char on : {1, 0}) {
    ASSERT_EQ(r.run(setup + click(497, 442)), "");
    EXPECT_EQ(gpu::simulation_settings.substep_mode, on);
    EXPECT_EQ(control("*")->lit(), on == 1);
    ASSERT_EQ(r.run(setup + click(482, 465)), "");
    EXPECT_EQ(modes.warp_mode, on == 1);
    EXPECT_EQ(control("WARP")->lit(), on == 1);
    EXPECT_EQ(panel_requests.warp, 0);
    EXPECT_EQ(panel_requests.substeps, 0);
  }
  EXPECT_EQ(most_paint_along(read_layer(), 400, 510, 450), 0.0f) << "the presses laid no paint";
  EXPECT_EQ(most_paint_along(read_layer(), 400, 510, 465), 0.0f);
}

TEST(FloatingPanels, TheSubModeCyclerIsLitWithThePaintIcon) {
  ScriptRun r(W, H);
  ASSERT_EQ(r.run(setup + "frame\n"), "");
  EXPECT_TRUE(control("=")->lit());
  ASSERT_EQ(r.run(setup + click(447, 381)), "");  // the erase icon
  ASSERT_EQ(frame_state.brush_mode, 2);
  EXPECT_FALSE(control("=")->lit());
}

// "=" lays a flat film, ">" builds the paint up: the same path painted three
// times holds more paint with ">".
TEST(FloatingPanels, TheSubModeDecidesWhetherPaintBuildsUp) {
  auto thickest = [](const std::string& presses) {
    ScriptRun r(W, H);
    std::string script = setup + presses;
    for (int i = 0; i < 3; ++i) script += drag_script(80, 200, 280, 200);
    EXPECT_EQ(r.run(script), "");
    return most_paint_along(read_layer(), 100, 260, 200);
  };
  const float builds = thickest(""), flat = thickest(click(426, 450) + click(426, 450));
  EXPECT_GT(flat, 0.1f);
  EXPECT_GT(builds, flat * 1.2f);
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
