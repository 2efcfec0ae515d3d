#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "brush/brush_settings.h"
#include "document/frame_settings.h"
#include "document/parameters.h"
#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "gpu/simulation_settings.h"
#include "layers/layer.h"
#include "ui/panel_layout.h"

namespace {

using document::ParamId;

const document::Parameter& row(const char* label) {
  Result<const document::Parameter*> p = document::find_parameter(label);
  if (!p) ADD_FAILURE() << p.error().message;
  return **p;
}

}  // namespace

// The settings hold the start column in a freshly started process, before
// anything has changed them: it is written once, before main.
TEST(ParameterTest, ProcessStartsWithTheStartColumn) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        int wrong = 0;
        for (const document::Parameter& p : document::parameters()) {
          const std::optional<float> v = document::parameter_value(p);
          if (p.start && v != p.start) {
            std::fprintf(stderr, "%s: has %g, starts at %g\n", p.label, double(v.value_or(-1)), double(*p.start));
            ++wrong;
          }
        }
        std::exit(wrong);
      },
      ::testing::ExitedWithCode(0), "");
}

// One row per id and label, each variable driven by one row only (the two
// step buttons share the preset index); an unknown label is an error.
TEST(ParameterTest, EachVariableHasOneRow) {
  std::set<std::string> labels;
  std::set<const void*> targets;
  for (std::size_t i = 0; i < std::size_t(ParamId::count); ++i) {
    const document::Parameter& p = document::parameter(ParamId(i));
    EXPECT_EQ(std::size_t(p.id), i) << p.label;
    EXPECT_TRUE(labels.insert(p.label).second) << p.label;
    EXPECT_TRUE(p.value || p.flag || p.layer_value) << p.label;
    const void* t = p.value ? static_cast<const void*>(p.value) : static_cast<const void*>(p.flag);
    if (t && p.kind != document::ParamKind::step_button) {
      EXPECT_TRUE(targets.insert(t).second) << p.label;
    }
  }
  EXPECT_EQ(document::parameters().size(), std::size_t(ParamId::count));
  EXPECT_EQ(row("MOUSE SPEED").value, &frame_settings.mouse_speed);
  EXPECT_EQ(row("FLUIDITY").id, ParamId::fluidity);
  Result<const document::Parameter*> unknown = document::find_parameter("no such control");
  ASSERT_FALSE(unknown);
  EXPECT_NE(unknown.error().message.find("no such control"), std::string::npos);
}

// Every setting has one control on the panel, in the model's order, and a
// control inside a group comes after its group box.
TEST(ParameterTest, PanelPlacesEachSettingOnce) {
  std::set<std::string> groups;
  std::size_t next = 0;
  for (const ui::PanelControl& k : ui::panel_controls()) {
    if (k.kind == ui::ControlKind::group) groups.insert(k.label());
    if (k.group) {
      EXPECT_TRUE(groups.count(k.group)) << k.label() << " comes before its group";
    }
    EXPECT_EQ(k.kind == ui::ControlKind::value, k.param.has_value()) << k.label();
    if (k.param) {
      EXPECT_EQ(std::size_t(*k.param), next) << k.label();
      ++next;
    }
  }
  EXPECT_EQ(next, std::size_t(ParamId::count));
}

TEST(ParameterTest, SetChecksKindAndRange) {
  struct Case {
    const char* label;
    double value;
    bool ok;
  };
  const Case cases[] = {
      {"FLUIDITY", 0, true},
      {"FLUIDITY", 1, true},
      {"FLUIDITY", 1.01, false},
      {"FLUIDITY", -0.01, false},
      {"MOUSE SPEED", 0.005, false},
      {"MOUSE SPEED", 0.5, true},
      {"BRUSH:BIAS", -1, true},
      {"BRUSH:BIAS", -1.5, false},
      {"BRUSH:SIZE", 1e6, true},
      {"BRUSH:SIZE", -3, false},
      {"BRUSH:SIZE", 0.99, false},
      {"BRUSH:SIZE", 1, true},
      {"DRYING", 0, true},
      {"DRYING", 0.5, false},
      {"DRYING", 2, false},
      {"MENU:SAVE [ctrl+s]", 1, true},
      {"BRUSH:next", 3, true},
      {"BRUSH:next", 3.5, false},
      {"BRUSH:prev", 10, false},
      {"BRUSH:prev", -1, false},
      {"FLUIDITY", std::nan(""), false},
      {"BRUSH:SIZE", INFINITY, false},
  };
  for (const Case& c : cases) {
    const document::Parameter& p = row(c.label);
    const std::optional<float> before = document::parameter_value(p);
    Result<void> r = document::set_parameter(p, c.value);
    EXPECT_EQ(c.ok, r.ok()) << c.label << " " << c.value;
    if (c.ok) {
      EXPECT_FLOAT_EQ(float(c.value), *document::parameter_value(p)) << c.label;
    } else {
      EXPECT_FALSE(r.error().message.empty()) << c.label;
      EXPECT_EQ(before, document::parameter_value(p)) << c.label << ": a refused value changes nothing";
    }
  }
  document::write_reset_values();
}

TEST(ParameterTest, SideEffectsOfSetting) {
  // Choosing a preset loads its bristle values.
  ASSERT_TRUE(document::set_value(ParamId::brush_next, 1));
  EXPECT_FLOAT_EQ(brush_settings.bristles, brush_settings.preset_bristles[1]);
  EXPECT_FLOAT_EQ(brush_settings.bristle_size, brush_settings.preset_bristle_size[1]);
  // A canvas dial asks for the canvas texture to be rendered again.
  gpu::canvas_buffers.canvas_texture_dirty = false;
  ASSERT_TRUE(document::set_value(ParamId::canvas_size, 0.7));
  EXPECT_TRUE(gpu::canvas_buffers.canvas_texture_dirty);
  EXPECT_FLOAT_EQ(gpu::canvas_settings.size, 0.7f);
  document::write_reset_values();
}

// "Defaults" writes the reset column and leaves the rows without one alone.
TEST(ParameterTest, DefaultsWriteTheResetColumn) {
  const struct {
    const char* label;
    double changed, after_reset;
  } cases[] = {
      {"MOUSE SPEED", 0.3, 0.95}, {"COLOR:RED", 0.9, 0.25}, {"FLUIDITY", 0.2, 1},
      {"DESATURATE", 0.4, 0.4},   {"DITHER", 0, 0},         {"PEN:SIZE [w]", 0, 1},
      {"BRUSH:SIZE", 80, 15},     {"BRUSH:next", 2, 8},     {"PEN:TILT", 0, 0},
  };
  for (const auto& c : cases) ASSERT_TRUE(document::set_parameter(row(c.label), c.changed)) << c.label;
  document::write_reset_values();
  for (const auto& c : cases)
    EXPECT_FLOAT_EQ(float(c.after_reset), *document::parameter_value(row(c.label))) << c.label;
  ASSERT_TRUE(document::set_value(ParamId::desaturate, 0));
  ASSERT_TRUE(document::set_value(ParamId::dither, 1));
  ASSERT_TRUE(document::set_value(ParamId::pen_tilt, 1));
  document::write_reset_values();
}

// Layer rows act on the active layer and refuse when there is none.
TEST(ParameterTest, LayerRowsNeedALayer) {
  layer* const active = layers.active;
  layers.active = nullptr;
  Result<void> r = document::set_value(ParamId::layer_glossiness, 2);
  ASSERT_FALSE(r);
  EXPECT_NE(r.error().message.find("layer"), std::string::npos) << r.error().message;
  EXPECT_EQ(document::parameter_value(row("LAYER:GLOSSINESS")), std::nullopt);
  layers.active = active;
}
