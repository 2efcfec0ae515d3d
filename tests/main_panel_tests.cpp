// The main control panel in the real frame, driven by input scripts: its
// controls are pressed and dragged where the panel's table puts them (and at
// a few places written out, so that a layout mistake cannot move a control
// and its test together), and what the panel owns lays no paint.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/main_panel_frame.h"
#include "brush/brush_settings.h"
#include "document/color_settings.h"
#include "document/parameters.h"
#include "layers/layer.h"
#include "layers/layer_stack.h"
#include "tests/script_run.h"
#include "tests/stroke_helpers.h"
#include "tests/temp_dir.h"
#include "ui/panel_layout.h"

namespace {

using document::ParamId;

struct Point {
  int x, y;
};

// The centre of the control with this label on a window `w` wide, from the
// panel's table.
Point centre_of(std::string_view label, float w) {
  float gx = 0, gy = 0;
  for (const ui::PanelControl& k : ui::panel_controls()) {
    if (k.kind == ui::ControlKind::group) {
      gx = k.x;
      gy = k.y;
    }
    if (label != k.label()) continue;
    const float x = k.group ? gx + k.x : k.x, y = k.group ? gy + k.y : k.y;
    return {int(w - x + 0.5f * k.w), int(y + 0.5f * k.h)};
  }
  ADD_FAILURE() << "no control " << label;
  return {0, 0};
}

std::string at(Point p) {
  return "mouse " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
}

std::string click(Point p, const std::string& held = "") {
  std::string s = at(p) + "frame\n";
  if (!held.empty()) s += "key down \"" + held + "\"\n";
  s += "down left\nframe 3\nup left\nframe\n";
  if (!held.empty()) s += "key up \"" + held + "\"\nframe\n";
  return s;
}

std::string drag(Point from, int dx, int dy, int steps = 4) {
  std::string s = at(from) + "frame\ndown left\nframe\n";
  for (int i = 1; i <= steps; ++i) s += at({from.x + dx * i / steps, from.y + dy * i / steps}) + "frame\n";
  return s + "up left\nframe\n";
}

float paint_near(Point p, int r) {
  const LayerPixels px = read_layer();
  float most = 0;
  for (int y = std::max(0, p.y - r); y < std::min(px.h, p.y + r); ++y)
    for (int x = std::max(0, p.x - r); x < std::min(px.w, p.x + r); ++x) most = std::max(most, px.amount(x, y));
  return most;
}

// With the pen down a press anywhere on the canvas lays paint.
const std::string pen = "pen 0.85\ncolor 0.9 0.1 0.1\n";

TEST(MainPanel, PlacesFollowTheTable) {
  struct Case {
    const char* label;
    Point at;
  };
  const Case cases[] = {
      {"FLUIDITY", {387, 40}},           {"DRYING", {439, 30}},        {"BRUSH:SIZE", {532, 319}},
      {"MENU:SAVE [ctrl+s]", {341, 17}}, {"MENU:LOAD [o]", {297, 17}}, {"LAYER:BUMP", {526, 430}},
  };
  for (const Case& c : cases) {
    const Point p = centre_of(c.label, 640);
    EXPECT_EQ(p.x, c.at.x) << c.label;
    EXPECT_EQ(p.y, c.at.y) << c.label;
  }
}

TEST(MainPanel, DialsMoveByTheirFractionAndLayNoPaint) {
  ScriptRun r(640, 480);
  struct Case {
    ParamId id;
    int dx, dy;
    const char* held;
    float expect;
  };
  const Case cases[] = {
      {ParamId::drying_speed, 40, 0, "", 0.7f},             // 0.5 + 40 x 0.5 %
      {ParamId::drying_speed, 0, 40, "", 0.5f},             // back down
      {ParamId::drying_speed, 100, 0, "Left Ctrl", 0.58f},  // 0.08 % a pixel
      {ParamId::fluidity, 60, 0, "", 0.7f},                 // reversed: 1 - 0.3
      {ParamId::brush_size, 10, 0, "", 20},                 // 0.5 a pixel
      {ParamId::brush_size, -60, 0, "", 1},                 // never below 1
      {ParamId::color_red, 0, 30, "", 0.75f},               // down lowers the pen line's 0.9
  };
  for (const Case& c : cases) {
    const char* label = document::parameter(c.id).label;
    const Point p = centre_of(label, 640);
    std::string s = pen;
    if (*c.held) s += "key down \"" + std::string(c.held) + "\"\n";
    s += drag(p, c.dx, c.dy);
    if (*c.held) s += "key up \"" + std::string(c.held) + "\"\nframe\n";
    ASSERT_EQ(r.run(s), "");
    EXPECT_NEAR(document::value_of(c.id), c.expect, 1e-3f) << label << " by " << c.dx << "," << c.dy;
    EXPECT_EQ(paint_near(p, 30), 0.0f) << label << ": the drag painted where it began";
    EXPECT_EQ(paint_near({p.x + c.dx, p.y + c.dy}, 30), 0.0f) << label << ": the drag painted where it ended";
  }
}

TEST(MainPanel, AColourDialTurnedColoursTheNextStroke) {
  ScriptRun r(640, 480);
  ASSERT_EQ(r.run("pen 0.85\ncolor 0.1 0.1 0.8\n" + drag_script(150, 200, 350, 200)), "");
  const std::array<float, 3> blue = paint_colour(read_layer(), 170, 330, 200);
  // 100 pixels to the right: the red from 0.1 to 0.6.
  ASSERT_EQ(r.run(drag(centre_of("COLOR:RED", 640), 100, 0) + drag_script(150, 260, 350, 260)), "");
  EXPECT_NEAR(document::value_of(ParamId::color_red), 0.6f, 1e-3f);
  EXPECT_FLOAT_EQ(color_settings.current[2], 0.8f) << "turning the red dial moved the blue";
  const std::array<float, 3> violet = paint_colour(read_layer(), 170, 330, 260);
  EXPECT_GT(violet[0], 3 * blue[0]) << "the red dial did not reach the stroke";
  // The brush still carries some of the first stroke; the blue stays well
  // above the green either way.
  EXPECT_GT(violet[2], 3 * violet[1]) << "the blue did not stay";
  EXPECT_LT(violet[1], 0.3f * violet[0]);
}

TEST(MainPanel, TogglesFlipOncePerPressAndStepButtonsStayInRange) {
  ScriptRun r(640, 480);
  for (ParamId id : {ParamId::drying, ParamId::pen_tilt, ParamId::canvas_show}) {
    const Point p = centre_of(document::parameter(id).label, 640);
    const float before = document::value_of(id);
    ASSERT_EQ(r.run(pen + click(p)), "");
    EXPECT_EQ(document::value_of(id), 1 - before) << document::parameter(id).label;
    ASSERT_EQ(r.run(pen + click(p)), "");
    EXPECT_EQ(document::value_of(id), before) << document::parameter(id).label;
    EXPECT_EQ(paint_near(p, 20), 0.0f);
  }
  const Point next = centre_of("BRUSH:next", 640), prev = centre_of("BRUSH:prev", 640);
  ASSERT_EQ(brush_settings.preset, 8);
  ASSERT_EQ(r.run(click(next) + click(next)), "");
  EXPECT_EQ(brush_settings.preset, 9);
  ASSERT_EQ(r.run(click(prev) + click(prev)), "");
  EXPECT_EQ(brush_settings.preset, 7);
  // Preset 7 of the bristle tables.
  EXPECT_FLOAT_EQ(document::value_of(ParamId::brush_bristle_size), 0.75f);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::brush_bristles), 0.25f);
}

TEST(MainPanel, AGroupsBackgroundTakesThePress) {
  ScriptRun r(640, 480);
  // Inside "GUI:BRUSH" (x 510..640, y 275..403) between its controls.
  const Point bare{600, 395};
  ASSERT_EQ(r.run(pen + drag(bare, -200, 0)), "");
  EXPECT_EQ(paint_near({500, 395}, 100), 0.0f);
  ASSERT_EQ(r.run(pen + drag({400, 200}, -200, 0)), "");
  EXPECT_GT(paint_near({300, 200}, 10), 0.1f) << "the same drag beside the panel paints";
}

TEST(MainPanel, MenuButtonsGoThroughTheDialogs) {
  const std::filesystem::path dir = std::filesystem::path(test_file("main_panel_menu"));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "menu.olp").string();
  ScriptRun r(640, 480);
  const Point save = {341, 17}, load = {297, 17};
  ASSERT_EQ(r.run("choose\n" + click(save)), "");
  EXPECT_TRUE(std::filesystem::is_empty(dir)) << "a cancelled dialog saved";
  ASSERT_EQ(r.run("choose \"" + file + "\"\n" + click(save)), "");
  EXPECT_TRUE(std::filesystem::exists(file));
  ASSERT_EQ(r.run("key press F9\nframe\n"), "");
  ASSERT_EQ(layers.list.size(), 2u);
  ASSERT_EQ(r.run("choose\n" + click(load)), "");
  EXPECT_EQ(layers.list.size(), 2u) << "a cancelled dialog loaded";
  ASSERT_EQ(r.run("choose \"" + file + "\"\n" + click(load)), "");
  EXPECT_EQ(layers.list.size(), 1u) << "the saved one-layer project came back";
  EXPECT_EQ(document::value_of(ParamId::menu_save), 0.0f) << "the request was consumed";
  EXPECT_EQ(document::value_of(ParamId::menu_load), 0.0f) << "the request was consumed";
  std::filesystem::remove_all(dir);
}

// The layer list's rows start at the list control (x 512 on a 640 window,
// y 425) and run down, the upper layer first; 600 pixels leave room for 5.
class MainPanelLayers : public ::testing::Test {
 protected:
  static constexpr int W = 640, H = 600;
  ScriptRun r{W, H};

  // A point of row `index` at (qx, qy) from its top-left corner.
  Point row(int index, int qx, int qy) {
    const ui::LayerRows rows = ui::main_panel_rows(main_panel, W, H);
    EXPECT_TRUE(rows.shows(index)) << "row " << index;
    const vec2d o = rows.row_origin(index);
    return {int(o.x) + qx, int(o.y) + qy};
  }
  int active() { return layer_index(layers.active); }
  size_t count() { return layers.list.size(); }
};

TEST_F(MainPanelLayers, EachActionChangesTheStackAndCancelChangesNothing) {
  ASSERT_EQ(r.run("frame\n"), "");
  // Paint on the bottom layer, then copy it above with Shift on the upper
  // button of the one row, written out: (512 + 64, 425 + 3).
  ASSERT_EQ(r.run(pen + drag({150, 300}, 240, 0, 8) + "pen off\nframe\n"), "");
  ASSERT_EQ(r.run(click({576, 428}, "Left Shift")), "");
  ASSERT_EQ(count(), 2u);
  EXPECT_EQ(active(), 1);
  EXPECT_GT(read_layer().amount(270, 300), 0.1f) << "the copy has the paint";
  layer* copy = layers.active;

  // Add below the active (top) row: 3 layers, the new one in the middle.
  ASSERT_EQ(r.run(click(row(1, 64, 29))), "");
  ASSERT_EQ(count(), 3u);
  EXPECT_EQ(active(), 1);
  EXPECT_EQ(layers.list[2].get(), copy);
  EXPECT_EQ(read_layer().amount(270, 300), 0.0f) << "an added layer is empty";

  // Add above it: 4 layers.
  ASSERT_EQ(r.run(click(row(1, 64, 3))), "");
  ASSERT_EQ(count(), 4u);
  EXPECT_EQ(active(), 2);

  // Select another row, hide a row that is not active.
  ASSERT_EQ(r.run(click(row(3, 20, 16))), "");
  EXPECT_EQ(layers.active, copy);
  ASSERT_EQ(r.run(click(row(0, 110, 16))), "");
  EXPECT_EQ(layers.active, copy) << "hiding does not select";
  EXPECT_EQ(layers.list[0]->hidden, 1);
  ASSERT_EQ(r.run(click(row(0, 110, 16))), "");
  EXPECT_EQ(layers.list[0]->hidden, 0);

  // The style button steps normal, additive, multiply.
  ASSERT_EQ(r.run(click(row(3, 84, 10))), "");
  EXPECT_EQ(copy->style, 1);
  ASSERT_EQ(r.run(click(row(3, 84, 10))), "");
  EXPECT_EQ(copy->style, 2);
  ASSERT_EQ(r.run(click(row(3, 84, 10))), "");
  EXPECT_EQ(copy->style, 0);

  // Merge down (Ctrl on the lower button): cancelled, then confirmed.
  ASSERT_EQ(r.run("answer cancel\n" + click(row(3, 64, 29), "Left Ctrl")), "");
  EXPECT_EQ(count(), 4u);
  EXPECT_EQ(layers.active, copy);
  ASSERT_EQ(r.run("answer ok\n" + click(row(3, 64, 29), "Left Ctrl")), "");
  EXPECT_EQ(count(), 3u);
  EXPECT_EQ(active(), 2);
  EXPECT_GT(read_layer().amount(270, 300), 0.1f) << "the merged paint is in the layer below";

  // Merge up (Ctrl on the upper button of a layer with one above).
  ASSERT_EQ(r.run(click(row(1, 20, 16))), "");
  ASSERT_EQ(active(), 1);
  ASSERT_EQ(r.run("answer ok\n" + click(row(1, 64, 3), "Left Ctrl")), "");
  EXPECT_EQ(count(), 2u);
  EXPECT_EQ(active(), 1);
  EXPECT_GT(read_layer().amount(270, 300), 0.1f) << "the upper layer's paint came down";

  // Dragged down a row and more: the active layer moves one place down.
  layer* moved = layers.active;
  ASSERT_EQ(r.run(drag(row(1, 20, 16), 0, 40)), "");
  EXPECT_EQ(active(), 0);
  EXPECT_EQ(layers.active, moved);

  // Dragged far sideways: "Delete this layer?", cancelled, then confirmed.
  ASSERT_EQ(r.run("answer cancel\n" + drag(row(0, 2, 16), 125, 0)), "");
  EXPECT_EQ(count(), 2u);
  ASSERT_EQ(r.run("answer ok\n" + drag(row(0, 2, 16), 125, 0)), "");
  EXPECT_EQ(count(), 1u);
  EXPECT_EQ(active(), 0);
  EXPECT_NE(layers.active, moved);
  // The last layer is never deleted.
  ASSERT_EQ(r.run("answer ok\n" + drag(row(0, 2, 16), 125, 0)), "");
  EXPECT_EQ(count(), 1u);
}

TEST_F(MainPanelLayers, OnlyStackChangesMakeAShownUndoStateLive) {
  ASSERT_EQ(r.run("frame\n"), "");
  ASSERT_EQ(r.run(click(row(0, 64, 3))), "");
  ASSERT_EQ(count(), 2u);
  ASSERT_EQ(r.run("key down \"Left Ctrl\"\nkey press Z\nframe\nkey up \"Left Ctrl\"\nframe\n"), "");
  ASSERT_TRUE(layers.active->showing_undo());
  layer* shown = layers.active;
  // Hiding another row and restyling keep the undo state shown.
  ASSERT_EQ(r.run(click(row(0, 110, 16)) + click(row(0, 110, 16)) + click(row(1, 84, 10))), "");
  EXPECT_TRUE(shown->showing_undo());
  // Adding a layer changes the stack: the shown state becomes live first.
  ASSERT_EQ(r.run(click(row(1, 64, 3))), "");
  EXPECT_EQ(count(), 3u);
  EXPECT_FALSE(shown->showing_undo());
}

TEST_F(MainPanelLayers, PressesOnTheListLayNoPaint) {
  ASSERT_EQ(r.run("frame\n"), "");
  ASSERT_EQ(r.run(pen + click(row(0, 20, 16)) + drag(row(0, 20, 16), -60, 30)), "");
  EXPECT_EQ(paint_near({540, 440}, 60), 0.0f);
}

}  // namespace
