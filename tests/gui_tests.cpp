// The floating panels' toolkit without GL: hit tests, the control arithmetic
// and the pointer pass that decides who owns the pointer.
#include <gtest/gtest.h>

#include <cmath>

#include "document/document_state.h"
#include "ui/gui_context.h"
#include "ui/tooltip.h"

namespace {

using ui::GadgetKind;
using ui::gui_gadget;
using ui::gui_master;
using ui::PointerShape;

constexpr float W = 320, H = 180;

vec2d v(float x, float y) {
  return vec2d::Create(x, y);
}

ui::GadgetTarget float_at(float* f) {
  return {[f] { return *f; }, [f](float x) { *f = x; }};
}

// One frame of pointer input through the pass.
void step(ui::GuiContext& g, float x, float y, bool left, bool right = false, unsigned char mods = 0) {
  ui::PointerInput in;
  in.pos = v(x, y);
  in.left = left;
  in.right = right;
  in.modifier_keys = mods;
  in.screen_w = W;
  in.screen_h = H;
  ui::pointer_pass(g, in);
}

// A press and release at one point, a frame each.
void click(ui::GuiContext& g, float x, float y) {
  step(g, x, y, false);
  step(g, x, y, true);
  step(g, x, y, false);
}

// An open panel at (px, py) holding one control.
struct OnePanel {
  ui::GuiContext g;
  gui_master* panel;
  gui_gadget* control;
  OnePanel(GadgetKind kind, vec2d control_pos, vec2d control_size, vec2d panel_pos = v(20, 10),
           vec2d panel_size = v(200, 100)) {
    panel = &g.add(gui_master::Create("P", panel_pos, panel_size, PointerShape::panel));
    g.open(*panel);
    control = &panel->add(gui_gadget::Create("C", kind, control_pos, control_size, PointerShape::hand));
  }
};

TEST(GuiToolkit, HitTestsAreStrictAndFollowAlignment) {
  struct Case {
    const char* what;
    unsigned char align, shape;
    vec2d pos, size, point;
    bool hit;
  } cases[] = {
      {"left edge", 0, 0, v(10, 20), v(30, 10), v(10, 25), false},
      {"just inside left", 0, 0, v(10, 20), v(30, 10), v(10.5f, 25), true},
      {"right edge", 0, 0, v(10, 20), v(30, 10), v(40, 25), false},
      {"just inside right", 0, 0, v(10, 20), v(30, 10), v(39.5f, 25), true},
      {"top edge", 0, 0, v(10, 20), v(30, 10), v(20, 20), false},
      {"bottom edge", 0, 0, v(10, 20), v(30, 10), v(20, 30), false},
      {"right and bottom aligned", 3, 0, v(-5, 0), v(30, 10), v(W - 35 + 1, H - 10 + 1), true},
      {"right and bottom aligned, left of it", 3, 0, v(-5, 0), v(30, 10), v(W - 35 - 1, H - 5), false},
      {"fraction aligned", 12, 0, v(0.5f, 0.5f), v(20, 20), v(W / 2 + 1, H / 2 + 1), true},
      {"fraction aligned, before it", 12, 0, v(0.5f, 0.5f), v(20, 20), v(W / 2 - 1, H / 2 + 1), false},
      {"round, centre", 0, 1, v(0, 0), v(20, 20), v(10, 10), true},
      {"round, corner of the square", 0, 1, v(0, 0), v(20, 20), v(1, 1), false},
      {"round, on the circle", 0, 1, v(0, 0), v(20, 20), v(20, 10), false},
  };
  for (const Case& c : cases) {
    auto e = gui_gadget::Create("", GadgetKind::button, c.pos, c.size, PointerShape::hand);
    e->align = c.align;
    e->shape = c.shape;
    EXPECT_EQ(e->mouse(c.point, W, H), c.hit) << c.what;
  }
}

TEST(GuiToolkit, SliderHitSaysWhetherThePointerIsOnTheHandle) {
  auto s = gui_gadget::Create("", GadgetKind::slider, v(10, 40), v(120, 20), PointerShape::hand);
  s->handle_pos = v(40, 0);
  ASSERT_TRUE(s->mouse(v(60, 50), W, H));
  EXPECT_EQ(s->cursor, PointerShape::slide_sideways);
  ASSERT_TRUE(s->mouse(v(20, 50), W, H));
  EXPECT_EQ(s->cursor, PointerShape::hand);
  auto u = gui_gadget::Create("", GadgetKind::slider, v(10, 10), v(20, 120), PointerShape::hand);
  u->slider_type = 1;
  u->handle_pos = v(0, 100);
  ASSERT_TRUE(u->mouse(v(20, 115), W, H));
  EXPECT_EQ(u->cursor, PointerShape::slide_upright);
  ASSERT_TRUE(u->mouse(v(20, 40), W, H));
  EXPECT_EQ(u->cursor, PointerShape::hand);
}

TEST(GuiToolkit, DialTreatmentsMapTheValue) {
  constexpr float untouched = 99;
  struct Case {
    unsigned char treatment;
    float start, dx, dy;
    bool fine;
    float want_value, want_target;
  } cases[] = {
      {0, 0.1f, -30, 0, false, 0, 0},              // clamped at 0
      {0, 0.9f, 0, -50, false, 1, 1},              // up raises; clamped at 1
      {0, 0.5f, 210, 0, true, 0.6f, 0.6f},         // Ctrl: 2100 pixels a unit
      {1, 0.1f, -30, 0, false, 0, 2},              // min 2 .. max 4
      {1, 0.5f, 20, 0, false, 0.7f, 3.4f},         //
      {2, 0.1f, -30, 0, false, 0.05f, 0.5f},       // stops at value_min, times value_mult
      {2, 0.1f, 300, 0, false, 3.1f, 31},          // no upper bound
      {3, 0.1f, -30, 0, false, -0.2f, -2},         // unclamped
      {4, 0.1f, 30, 0, false, 0.4f, untouched},    // outside the treatments: target left alone
      {255, 0.1f, 30, 0, false, 0.4f, untouched},  //
  };
  for (const Case& c : cases) {
    float t = untouched;
    auto d = gui_gadget::Create("", GadgetKind::dial, v(0, 0), v(20, 20), PointerShape::hand);
    d->target = float_at(&t);
    d->value_treatment = c.treatment;
    d->value_mult = 10;
    d->set_minmax(c.treatment == 1 ? 2 : 0.05f, c.treatment == 1 ? 4 : 1);
    d->value_float = c.start;
    d->process_dial(c.dx, c.dy, c.fine);
    EXPECT_NEAR(d->value_float, c.want_value, 1e-5) << "treatment " << int(c.treatment) << " from " << c.start;
    EXPECT_NEAR(t, c.want_target, 1e-4) << "treatment " << int(c.treatment) << " from " << c.start;
  }
}

TEST(GuiToolkit, ReadBackNeverDividesByZero) {
  float t = 3;
  auto d = gui_gadget::Create("", GadgetKind::dial, v(0, 0), v(20, 20), PointerShape::hand);
  d->target = float_at(&t);
  d->value_treatment = 1;
  d->set_minmax(2, 2);
  d->read_back();
  EXPECT_EQ(d->value_float, 0);
  d->value_treatment = 3;
  d->value_mult = 0;
  d->value_float = 0.25f;
  d->read_back();
  EXPECT_EQ(d->value_float, 0.25f);
  d->value_mult = 4;
  d->read_back();
  EXPECT_EQ(d->value_float, 0.75f);
  // A slider with no room to travel keeps its value.
  auto s = gui_gadget::Create("", GadgetKind::slider, v(0, 0), v(20, 20), PointerShape::hand);
  s->target = float_at(&t);
  s->value_float = 0.5f;
  t = 0.5f;
  s->process_slider(v(15, 10), 5, 0, false);
  EXPECT_EQ(s->value_float, 0.5f);
  EXPECT_TRUE(std::isfinite(s->handle_pos.x));
}

TEST(GuiToolkit, SliderJumpsOnItsTrackAndMovesRelativelyOnItsHandle) {
  // Panel at (20, 10); the slider's track spans screen x 30..150, its
  // handle is 20 wide, so it travels 100 pixels.
  float t = 0;
  OnePanel p(GadgetKind::slider, v(10, 40), v(120, 20));
  p.control->target = float_at(&t);
  const float y = 60;
  click(p.g, 90, y);  // track: (90 - (30 + 10)) / 100
  EXPECT_NEAR(t, 0.5f, 1e-5);
  EXPECT_NEAR(p.control->handle_pos.x, 50, 1e-4);

  // The handle spans 80..100 now: pressed at 85 and dragged 20 to the right
  // it moves by 20 pixels, where a jump would give 0.65.
  step(p.g, 85, y, false);
  step(p.g, 85, y, true);
  EXPECT_NEAR(t, 0.5f, 1e-5) << "a press on the handle does not jump";
  step(p.g, 105, y, true);
  EXPECT_NEAR(t, 0.7f, 1e-5);
  step(p.g, 105, y, false);

  // Ctrl makes the handle nine times finer.
  step(p.g, 115, y, false, false, 2);
  step(p.g, 115, y, true, false, 2);
  step(p.g, 160, y, true, false, 2);
  EXPECT_NEAR(t, 0.75f, 1e-5);
  step(p.g, 160, y, false);

  // Vertical: value 1 at the top.
  float u = 0;
  OnePanel q(GadgetKind::slider, v(10, 0), v(20, 100));
  q.control->slider_type = 1;
  q.control->target = float_at(&u);
  q.control->place_handle();
  click(q.g, 40, 10 + 10 + 20);  // 20 pixels below the top of the travel
  EXPECT_NEAR(u, 0.75f, 1e-5);
  EXPECT_NEAR(q.control->handle_pos.y, 20, 1e-4);
}

TEST(GuiToolkit, ButtonsActOncePerPress) {
  struct Case {
    GadgetKind kind;
    float trigger, start, after_one, after_two;
  } cases[] = {
      {GadgetKind::toggle, 1, 0, 1, 0},
      {GadgetKind::toggle, 4, 5, 1, 5},
      {GadgetKind::button, 2, 0, 2, 2},
      {GadgetKind::selector, 3, 1, 3, 3},
  };
  for (const Case& c : cases) {
    unsigned char b = static_cast<unsigned char>(c.start);
    OnePanel p(c.kind, v(10, 10), v(30, 20));
    p.control->target = ui::byte_target(&b);
    p.control->trigger_value = c.trigger;
    step(p.g, 35, 30, false);
    for (int i = 0; i < 5; ++i) step(p.g, 35, 30, true);  // held five frames
    EXPECT_EQ(b, c.after_one) << int(c.kind);
    step(p.g, 35, 30, false);
    step(p.g, 35, 30, true);
    step(p.g, 35, 30, false);
    EXPECT_EQ(b, c.after_two) << int(c.kind);
  }
}

TEST(GuiToolkit, CyclerWrapsFromMaxToMin) {
  unsigned char b = 0;
  OnePanel p(GadgetKind::cycler, v(10, 10), v(30, 20));
  p.control->target = ui::byte_target(&b);
  p.control->set_minmax(0, 3);
  p.control->set_list_names(">>,pr,rn,=");
  const int want[] = {1, 2, 3, 0, 1};
  for (int w : want) {
    click(p.g, 35, 30);
    EXPECT_EQ(b, w);
  }
  EXPECT_EQ(p.control->label(), "pr");
  b = 7;  // a value with no label shows the control's name
  EXPECT_EQ(p.control->label(), "C");
}

TEST(GuiToolkit, MoverKeepsThePanelInsideTheWindow) {
  struct Case {
    vec2d panel_size, drag_to, want;
  } cases[] = {
      {v(100, 50), v(35, 25), v(25, 20)},  // pressed at (30, 15): moves by the drag
      {v(100, 50), v(900, 900), v(W - 100, H - 50)},
      {v(100, 50), v(-900, -900), v(0, 0)},
      {v(500, 300), v(200, 100), v(0, 0)},  // larger than the window: held at the corner
      {v(500, 300), v(-200, -100), v(0, 0)},
  };
  for (const Case& c : cases) {
    OnePanel p(GadgetKind::mover, v(0, 0), v(c.panel_size.x, 10), v(20, 10), c.panel_size);
    step(p.g, 30, 15, false);
    step(p.g, 30, 15, true);
    step(p.g, c.drag_to.x, c.drag_to.y, true);
    EXPECT_NEAR(p.panel->screen_pos.x, c.want.x, 1e-4) << c.drag_to.x << "," << c.drag_to.y;
    EXPECT_NEAR(p.panel->screen_pos.y, c.want.y, 1e-4) << c.drag_to.x << "," << c.drag_to.y;
    EXPECT_NEAR(p.panel->childrenlist[0]->pos.x, c.want.x, 1e-4) << "the title bar goes with its panel";
  }
}

TEST(GuiToolkit, WhatTheGuiOwnsKeepsPaintOff) {
  float t = 0.5f;
  OnePanel p(GadgetKind::dial, v(10, 10), v(30, 30));
  p.control->target = float_at(&t);
  ui::GuiContext& g = p.g;

  step(g, 300, 170, false);
  EXPECT_EQ(g.flags, 0) << "nothing owned away from the panels";

  step(g, 150, 80, false);  // panel background, hovered
  EXPECT_EQ(g.flags, gui_flag::over_panel);
  EXPECT_TRUE(gui_blocks_painting(g.flags));
  EXPECT_EQ(g.pointer_shape, PointerShape::panel);

  step(g, 150, 80, true);  // pressed on the background
  EXPECT_TRUE(g.flags & gui_flag::control_pressed);
  EXPECT_TRUE(g.flags & gui_flag::painting_blocked);
  step(g, 310, 170, true);  // dragged off the panel, still held
  EXPECT_EQ(g.flags, gui_flag::painting_blocked);
  step(g, 310, 170, false);
  EXPECT_EQ(g.flags, 0);

  // A dial pressed and dragged: operated, owned, and off the panel too.
  step(g, 45, 35, false);
  step(g, 45, 35, true);
  EXPECT_TRUE(g.flags & gui_flag::control_active);
  step(g, 300, 35, true);
  EXPECT_TRUE(g.flags & gui_flag::control_active);
  EXPECT_TRUE(gui_blocks_painting(g.flags));
  EXPECT_EQ(t, 1);
  EXPECT_EQ(g.pointer_shape, PointerShape::hand);

  // The right button cancels the drag: the dial stops following.
  step(g, 300, 35, true, true);
  EXPECT_FALSE(g.flags & gui_flag::control_active);
  t = 0.5f;
  step(g, 250, 35, true, true);
  EXPECT_EQ(t, 0.5f);
  EXPECT_TRUE(gui_blocks_painting(g.flags));
  step(g, 250, 35, false);
  EXPECT_EQ(g.flags, 0);

  // A stroke begun on the canvas goes on under a panel.
  step(g, 300, 170, true);
  step(g, 45, 35, true);
  EXPECT_EQ(g.flags, 0);
  EXPECT_EQ(t, 0.5f);
  step(g, 45, 35, false);
  step(g, 45, 35, false);
  EXPECT_TRUE(g.flags & gui_flag::over_panel) << "hovered again once the stroke is over";

  // A press while something else owns the pointer is not the GUI's.
  ui::PointerInput in;
  in.pos = v(45, 35);
  in.left = true;
  in.screen_w = W;
  in.screen_h = H;
  in.others_own = true;
  ui::pointer_pass(g, in);
  EXPECT_EQ(g.active_gadget, nullptr);
  EXPECT_FALSE(g.flags & gui_flag::control_pressed);
  step(g, 300, 170, false);
  EXPECT_EQ(ui::merge_gui_flags(gui_flag::navigation | gui_flag::control_active, g), gui_flag::navigation);
}

TEST(GuiToolkit, CloseBoxAndClosedPanels) {
  unsigned char b = 0;
  OnePanel p(GadgetKind::close_box, v(170, 0), v(24, 24));
  gui_gadget& toggle =
      p.panel->add(gui_gadget::Create("T", GadgetKind::toggle, v(10, 40), v(30, 20), PointerShape::hand));
  toggle.target = ui::byte_target(&b);
  toggle.trigger_value = 1;
  click(p.g, 200, 20);
  EXPECT_FALSE(p.panel->show);
  EXPECT_TRUE(p.g.open_panels.empty());
  click(p.g, 35, 60);
  EXPECT_EQ(b, 0) << "a closed panel takes no input";
  EXPECT_EQ(p.g.flags, 0);
  p.g.open(*p.panel);
  click(p.g, 35, 60);
  EXPECT_EQ(b, 1);
}

TEST(GuiToolkit, ControlsWriteSettingsThroughTheModel) {
  document::reset_settings();
  using P = document::ParamId;
  OnePanel p(GadgetKind::dial, v(10, 10), v(30, 30));
  p.control->target = ui::param_target(P::glowing);
  step(p.g, 45, 35, false);
  step(p.g, 45, 35, true);
  step(p.g, 65, 35, true);
  EXPECT_NEAR(document::value_of(P::glowing), 0.2f, 1e-5);
  // Unclamped arithmetic still cannot pass the setting's range.
  p.control->value_treatment = 3;
  p.control->value_mult = 10;
  step(p.g, 95, 35, true);
  EXPECT_EQ(document::value_of(P::glowing), 1);
  step(p.g, 95, 35, false);
  document::reset_settings();
}

TEST(GuiToolkit, StripEntriesKeepTheirAspectAndTheStripIsBounded) {
  const std::vector<vec2d> sizes = {v(64, 64), v(32, 64), v(0, 0), v(128, 64)};
  const ui::StripLayout all = ui::layout_strip(sizes, 32, 1000);
  ASSERT_EQ(all.w.size(), 4u);
  const float want_w[] = {32, 16, 32, 32}, want_x[] = {0, 33, 50, 83};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(all.w[i], want_w[i]) << i;
    EXPECT_EQ(all.x[i], want_x[i]) << i;
  }
  EXPECT_EQ(all.width, 116);
  const ui::StripLayout some = ui::layout_strip(sizes, 32, 60);
  EXPECT_EQ(some.w.size(), 2u);
  EXPECT_LE(some.width, 60);
}

TEST(GuiToolkit, ValueBoxTexts) {
  const struct {
    float v;
    unsigned char type;
    const char* text;
    float shift;
  } cases[] = {
      {0.5f, 4, "0.500", 0},         {12.3456f, 4, "12.34", 0}, {12345.5f, 4, "12345.", 0}, {-0.25f, 4, "-0.250", -8},
      {-12345.5f, 4, "-12345.", -8}, {0.0009f, 4, "0.000", 0},  {15, 0, "15", 10.8f},       {7.9f, 0, "7", 14.4f},
      {-3.5f, 0, "-3", 10.8f},       {150, 3, "150", 7.2f},
  };
  for (const auto& c : cases) {
    const ui::TooltipText t = ui::tooltip_text(c.v, c.type);
    EXPECT_EQ(t.text, c.text) << c.v;
    EXPECT_NEAR(t.shift, c.shift, 1e-4) << c.v;
  }
}

TEST(GuiToolkit, ValueBoxOfTheDialOrSliderInUse) {
  OnePanel p(GadgetKind::dial, v(10, 10), v(30, 30));
  gui_gadget& button =
      p.panel->add(gui_gadget::Create("B", GadgetKind::button, v(100, 10), v(30, 20), PointerShape::hand));
  float size = 30;
  p.control->target = float_at(&size);
  p.control->value_treatment = 3;
  p.control->value_mult = 100;
  step(p.g, 45, 35, false);
  ASSERT_EQ(ui::tooltip_owner(p.g), p.control) << "a hovered dial shows its value";
  EXPECT_FLOAT_EQ(ui::tooltip_value(*p.control), 0.3f);
  p.control->value_display_post = true;
  EXPECT_EQ(ui::tooltip_value(*p.control), 30.0f) << "or its target's";
  // 8 pixels left of the dial (at 30, 20 on screen), just below it.
  const gpu::PixelRect box = ui::tooltip_area(*p.control);
  EXPECT_EQ(box.x0, 22 - 18);
  EXPECT_EQ(box.x1, 22 + 48 + 18);
  EXPECT_EQ(box.y0, 50);
  EXPECT_EQ(box.y1, 70);
  step(p.g, 135, 25, false);
  EXPECT_EQ(p.g.hovered, &button);
  EXPECT_EQ(ui::tooltip_owner(p.g), nullptr) << "buttons show none";
  // A dial being dragged keeps its box wherever the pointer goes.
  step(p.g, 45, 35, false);
  step(p.g, 45, 35, true);
  step(p.g, 135, 25, true);
  EXPECT_EQ(ui::tooltip_owner(p.g), p.control);
}

}  // namespace
