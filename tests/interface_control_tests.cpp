// The main panel's radial controls and its layer list as arithmetic: hit
// tests, the dial drag and its write-back, and where the list's rows and
// buttons lie and what pressing or dragging them asks for.
#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

#include "ui/interface_control.h"
#include "ui/layer_list.h"
#include "ui/panel_look.h"

namespace {

using document::ParamId;
using ui::interface;
using ui::InterfaceKind;
using ui::LayerAction;
using ui::RowPart;

vec2d v(float x, float y) {
  return vec2d::Create(x, y);
}

// A control as the panel builds it from its setting's row.
interface control(ParamId id, InterfaceKind kind, vec2d pos, vec2d size, float mult = 1) {
  const document::Parameter& p = document::parameter(id);
  const float tint[4] = {0, 0, 0, 0.1f};
  interface c = interface::Create(p.label, kind, pos, size, p.low, p.high, tint, id, -1);
  c.mult = mult;
  return c;
}

TEST(InterfaceControl, HitTestEdges) {
  // FLUIDITY: a disc of 42 at 274 from the right edge of a 640 window,
  // centred at (387, 40); MENU:CROP a rectangle from x 231, y 7, 45 x 20.
  const interface dial = control(ParamId::fluidity, InterfaceKind::dial, v(274, 19), v(42, 42));
  const interface menu = control(ParamId::menu_crop, InterfaceKind::menu_button, v(409, 7), v(45, 20));
  struct Case {
    const interface* c;
    float x, y;
    bool hit;
  };
  const Case cases[] = {
      {&dial, 387, 40, true},  {&dial, 366.5f, 40, true}, {&dial, 366, 40, false},    {&dial, 407.9f, 40, true},
      {&dial, 408, 40, false}, {&dial, 387, 19.2f, true}, {&dial, 387, 61, false},    {&dial, 401, 54, true},
      {&dial, 403, 56, false}, {&menu, 231, 10, true},    {&menu, 230.9f, 10, false}, {&menu, 275.9f, 10, true},
      {&menu, 276, 10, false}, {&menu, 250, 7, false},    {&menu, 250, 7.1f, true},   {&menu, 250, 26.9f, true},
      {&menu, 250, 27, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.c->mouse(v(c.x, c.y), 640), c.hit) << c.c->name << " at " << c.x << "," << c.y;
  // A group box's background is its rectangle.
  EXPECT_TRUE(menu.covers(v(231, 10), 640));
  EXPECT_FALSE(menu.covers(v(231, 27), 640));
}

TEST(InterfaceControl, DragMovesByTheStatedFractionAndWritesBack) {
  struct Case {
    ParamId id;
    float mult;
    float start;
    float dx, dy;
    bool ctrl;
    float expect;
  };
  const Case cases[] = {
      // 0.5 % of the range a pixel right or up, 0.08 % with Ctrl.
      {ParamId::drying_speed, 1, 0.2f, 100, 0, false, 0.7f},
      {ParamId::drying_speed, 1, 0.2f, 0, -100, false, 0.7f},
      {ParamId::drying_speed, 1, 0.2f, 60, 40, false, 0.3f},
      {ParamId::drying_speed, 1, 0.2f, 100, 0, true, 0.28f},
      {ParamId::drying_speed, 1, 0.9f, 100, 0, false, 1.0f},
      {ParamId::drying_speed, 1, 0.1f, -100, 0, false, 0.0f},
      // Reversed: the value is 1 - position.
      {ParamId::fluidity, 1, 1.0f, 100, 0, false, 0.5f},
      {ParamId::fluidity, 1, 0.8f, 100, 0, false, 0.3f},
      {ParamId::fluidity, 1, 0.3f, -100, 0, false, 0.8f},
      {ParamId::fluidity, 1, 0.3f, 300, 0, false, 0.0f},
      // Ranges other than 0..1 move by their own span.
      {ParamId::mouse_speed, 1, 0.01f, 100, 0, false, 0.505f},
      {ParamId::brush_bias, 1, 0.0f, 50, 0, false, 0.5f},
      {ParamId::brush_bias, 1, 0.0f, -250, 0, false, -1.0f},
      // Unbounded, multiplier 100: 0.5 a pixel, kept at least 1.
      {ParamId::brush_size, 100, 15, 1, 0, false, 15.5f},
      {ParamId::brush_size, 100, 15, 10, 0, true, 15.8f},
      {ParamId::brush_size, 100, 15, 200, 0, false, 115},
      {ParamId::brush_size, 100, 15, -100, 0, false, 1},
      // Material values stay at least 0.
      {ParamId::layer_glossiness, 1, 0.5f, 60, 0, false, 0.8f},
      {ParamId::layer_glossiness, 1, 0.5f, -200, 0, false, 0.0f},
      {ParamId::layer_diffusion, 1, 0.1f, -30, 0, false, 0.0f},
  };
  for (const Case& c : cases) {
    interface d = control(c.id, InterfaceKind::dial, v(100, 100), v(20, 20), c.mult);
    d.init_adjustment(v(50, 50), c.start, c.ctrl);
    EXPECT_NEAR(d.adjust_value(v(50 + c.dx, 50 + c.dy), c.start, c.ctrl), c.expect, 1e-4f)
        << d.name << " from " << c.start << " by " << c.dx << "," << c.dy << (c.ctrl ? " with Ctrl" : "");
  }
}

TEST(InterfaceControl, CtrlReanchorsAndEndsReleaseAtOnce) {
  interface d = control(ParamId::drying_speed, InterfaceKind::dial, v(100, 100), v(20, 20));
  struct Step {
    float x;
    bool ctrl;
    float expect;
    const char* what;
  };
  const Step steps[] = {
      {40, false, 0.4f, "0.5 % a pixel"},
      {40, true, 0.4f, "Ctrl pressed where the pointer stands: no jump"},
      {140, true, 0.48f, "then the fine speed"},
      {140, false, 0.48f, "Ctrl let go: no jump"},
      {240, false, 0.98f, "the full speed from there"},
      {400, false, 1.0f, "past the end"},
      {380, false, 0.9f, "back: the value follows the first pixel back"},
  };
  float value = 0.2f;
  d.init_adjustment(v(0, 0), value, false);
  for (const Step& s : steps) {
    value = d.adjust_value(v(s.x, 0), value, s.ctrl);
    EXPECT_NEAR(value, s.expect, 1e-5f) << s.what;
  }
}

TEST(InterfaceControl, EveryBoundedDialRoundTripsItsPosition) {
  for (const document::Parameter& p : document::parameters()) {
    if (p.kind != document::ParamKind::dial || p.unbounded()) continue;
    const interface d = control(p.id, InterfaceKind::dial, v(0, 0), v(20, 20));
    for (float position : {0.0f, 0.25f, 0.5f, 1.0f}) {
      const float value = d.value_at(position);
      EXPECT_GE(value, std::fmin(p.low, p.high)) << p.label;
      EXPECT_LE(value, std::fmax(p.low, p.high)) << p.label;
      EXPECT_NEAR(d.position_of(value), position, 1e-5f) << p.label;
    }
    // Reversed ranges turn the other way.
    EXPECT_EQ(d.value_at(1) < d.value_at(0), p.low > p.high) << p.label;
  }
}

TEST(InterfaceControl, TintsFollowTheirKindAndLabel) {
  struct Case {
    const char* label;
    InterfaceKind kind;
    bool in_group;
    float rgba[4];
  };
  const Case cases[] = {
      {"FLUIDITY", InterfaceKind::dial, false, {0, 0, 0, 0.1f}},
      {"FLUID:SHARPNESS", InterfaceKind::dial, false, {0.1f, 0, 0, 0.1f}},
      {"FLUID:SMUDGE", InterfaceKind::dial, false, {0, 0.1f, 0, 0.1f}},
      {"COLOR:GREEN", InterfaceKind::dial, false, {0, 0.2f, 0, 0.35f}},
      {"COLOR:DRP GAMMA", InterfaceKind::dial, false, {0, 0, 0.1f, 0.5f}},
      {"BRUSH:SIZE", InterfaceKind::dial, true, {0, 0, 0, 0.2f}},
      {"BRUSH:BIAS", InterfaceKind::dial, true, {0, 0, 0, 0}},
      {"DRYING", InterfaceKind::toggle, false, {1, 0.98f, 0.95f, 0.3f}},
      {"PEN:OPACITY [e]", InterfaceKind::toggle, true, {0.5f, 1, 1, 0.3f}},
      {"PEN:TILT", InterfaceKind::toggle, true, {0.5f, 1, 0.5f, 0.3f}},
      {"CANVAS:SHOW", InterfaceKind::toggle, true, {1, 1, 0.5f, 0.3f}},
      {"MENU:CROP", InterfaceKind::menu_button, false, {0.056f, 0.065f, 0.072f, 0.1f}},
  };
  for (const Case& c : cases) {
    std::optional<ParamId> id;
    for (const document::Parameter& p : document::parameters())
      if (std::string_view(p.label) == c.label) id = p.id;
    ASSERT_TRUE(id) << c.label;
    const ui::PanelControl k{ui::ControlKind::value, id, nullptr, 0, 0, 0, 0, c.in_group ? "GUI:BRUSH" : nullptr};
    const ui::Tint t = ui::control_tint(k, c.kind);
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(t.rgba[i], c.rgba[i]) << c.label << " channel " << i;
  }
}

TEST(LayerList, RowsAreLaidOutFromTheControl) {
  struct Case {
    int layers, active;
    float screen_h;
    int first, count;
  };
  const Case cases[] = {
      {1, 0, 480, 0, 1}, {3, 1, 720, 2, 3},  {5, 0, 500, 1, 2}, {5, 4, 500, 4, 2}, {5, 2, 500, 3, 2},
      {5, 2, 430, 2, 1}, {12, 0, 720, 8, 9}, {0, 0, 720, 0, 0}, {4, 9, 720, 3, 4},
  };
  for (const Case& c : cases) {
    const ui::LayerRows r = ui::layout_layer_rows(v(512, 425), 130, c.layers, c.active, c.screen_h);
    EXPECT_EQ(r.first, c.first) << c.layers << " layers, active " << c.active << ", height " << c.screen_h;
    EXPECT_EQ(r.count, c.count) << c.layers << " layers, active " << c.active << ", height " << c.screen_h;
    if (c.layers > 0) {
      EXPECT_TRUE(r.shows(std::min(c.active, c.layers - 1)));
    }
  }
}

TEST(LayerList, RowIndexIsClampedToTheRowsShown) {
  const ui::LayerRows rows = ui::layout_layer_rows(v(500, 425), 130, 3, 0, 720);
  ASSERT_EQ(rows.first, 2);
  ASSERT_EQ(rows.count, 3);
  struct Case {
    float x, y;
    int row;  // -1: off the list
  };
  const Case cases[] = {
      {510, 426, 2},     {510, 456.9f, 2}, {510, 458, 1},     {510, 500, 0},    {510, 521, 0},
      {510, 521.5f, -1}, {510, 425, -1},   {499.9f, 430, -1}, {629.9f, 430, 2}, {630, 430, -1},
  };
  for (const Case& c : cases) {
    const std::optional<int> r = ui::layer_row_at(rows, v(c.x, c.y));
    EXPECT_EQ(r.value_or(-1), c.row) << c.x << "," << c.y;
  }
  EXPECT_EQ(rows.row_origin(0).y, 425 + 64);
  // One layer in a 720-pixel window: a click on its row finds that row.
  const ui::LayerRows one = ui::layout_layer_rows(v(512, 425), 130, 1, 0, 720);
  EXPECT_EQ(ui::layer_row_at(one, v(520, 440)).value_or(-1), 0);
  EXPECT_FALSE(ui::layer_row_at(one, v(520, 470)).has_value());
}

TEST(LayerList, ButtonsOfARow) {
  struct Case {
    float x, y;
    bool hidden;
    RowPart part;
  };
  const Case cases[] = {
      {96, 10, false, RowPart::visibility}, {95, 10, false, RowPart::body}, {64, 3, false, RowPart::upper},
      {64, 6.9f, false, RowPart::upper},    {64, 7, false, RowPart::body},  {64, 29, false, RowPart::lower},
      {68, 3, true, RowPart::upper},        {60, 3, true, RowPart::body},   {60, 3, false, RowPart::upper},
      {68, 30, true, RowPart::lower},       {84, 10, false, RowPart::mode}, {84, 19.9f, false, RowPart::mode},
      {20, 16, false, RowPart::body},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ui::row_part(v(c.x, c.y), c.hidden), c.part) << c.x << "," << c.y << (c.hidden ? " hidden" : "");
}

TEST(LayerList, PressActionsAndHoverNames) {
  struct Case {
    RowPart part;
    bool active;
    unsigned char mods;
    LayerAction action;
    const char* name;
  };
  const Case cases[] = {
      {RowPart::visibility, false, 0, LayerAction::toggle_hidden, "LAYERVISIBILITY"},
      {RowPart::visibility, true, 0, LayerAction::toggle_hidden, "LAYERVISIBILITY"},
      {RowPart::upper, false, 0, LayerAction::select, "LAYERADD ABOVE"},
      {RowPart::body, false, 0, LayerAction::select, "LAYER"},
      {RowPart::body, true, 0, LayerAction::none, "LAYER"},
      {RowPart::upper, true, 0, LayerAction::add_above, "LAYERADD ABOVE"},
      {RowPart::upper, true, 1, LayerAction::copy_above, "LAYERCOPY ABOVE"},
      {RowPart::upper, true, 2, LayerAction::merge_up, "LAYERMERGE UP"},
      {RowPart::lower, true, 0, LayerAction::add_below, "LAYERADD BELOW"},
      {RowPart::lower, true, 1, LayerAction::copy_below, "LAYERCOPY BELOW"},
      {RowPart::lower, true, 2, LayerAction::merge_down, "LAYERMERGE DOWN"},
      {RowPart::mode, true, 0, LayerAction::cycle_style, "LAYERMODE [+]"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ui::press_action(c.part, c.active, c.mods), c.action) << c.name;
    EXPECT_EQ(ui::hover_name(c.part, c.mods, 1), c.name);
  }
  EXPECT_EQ(ui::hover_name(RowPart::mode, 0, 0), "LAYERMODE [=]");
  EXPECT_EQ(ui::hover_name(RowPart::mode, 0, 2), "LAYERMODE [*]");
}

TEST(LayerList, SidewaysDeleteAndVerticalReorder) {
  struct Delete {
    float dx, dy;
    bool asks;
  };
  const Delete deletes[] = {{101, 0, true}, {100, 0, false}, {150, 10, false}, {301, 10, true}, {-300, 0, false}};
  for (const Delete& d : deletes)
    EXPECT_EQ(ui::drags_to_delete(v(10, 10), v(10 + d.dx, 10 + d.dy)), d.asks) << d.dx << "," << d.dy;

  struct Reorder {
    float dy;
    int steps;
    float trap_after;
  };
  const Reorder reorders[] = {{40, -1, 32}, {32, 0, 0}, {70, -2, 64}, {-33, 1, -32}, {-100, 3, -96}, {10, 0, 0}};
  for (const Reorder& r : reorders) {
    vec2d trap = v(0, 0);
    EXPECT_EQ(ui::reorder_steps(trap, v(5, r.dy)), r.steps) << r.dy;
    EXPECT_EQ(trap.y, r.trap_after) << r.dy;
  }
}

}  // namespace
