#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "brush/brush_settings.h"
#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "gpu/simulation_settings.h"
#include "layers/layer.h"
#include "ui/frame_settings.h"
#include "ui/parameters.h"

namespace {

const ui::Parameter& row(const char* label) {
  const ui::Parameter* p = ui::find_parameter(label);
  if (!p) ADD_FAILURE() << "no row " << label;
  return *p;
}

}  // namespace

// The declared initial value of every bound variable is the table's start
// value. Run in a freshly started process, where nothing has changed them yet.
TEST(ParameterTest, VariablesStartAtTheStartColumn) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const std::string m = ui::start_value_mismatches();
        std::fputs(m.c_str(), stderr);
        std::exit(m.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// One row per label, each variable driven by one row only (the two step
// buttons share the preset index), and a child's group comes before it.
TEST(ParameterTest, EachVariableHasOneRow) {
  std::set<std::string> labels, groups;
  std::set<const void*> targets;
  for (const ui::Parameter& p : ui::parameters()) {
    EXPECT_TRUE(labels.insert(p.label).second) << p.label;
    if (p.kind == ui::ParamKind::group) groups.insert(p.label);
    if (p.group) {
      EXPECT_TRUE(groups.count(p.group)) << p.label << " comes before its group";
    }
    const bool needs_target = p.kind != ui::ParamKind::group && p.kind != ui::ParamKind::layer_list;
    EXPECT_EQ(needs_target, p.bound()) << p.label;
    const void* t = p.value ? static_cast<const void*>(p.value) : static_cast<const void*>(p.flag);
    if (t && p.kind != ui::ParamKind::step_button) {
      EXPECT_TRUE(targets.insert(t).second) << p.label;
    }
  }
  EXPECT_EQ(ui::find_parameter("MOUSE SPEED")->value, &frame_settings.mouse_speed);
  EXPECT_EQ(ui::find_parameter("FLUIDITY")->value, &gpu::simulation_settings.fluidity);
  EXPECT_EQ(ui::find_parameter("no such control"), nullptr);
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
      {"BRUSH:SIZE", -3, true},
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
      {"GUI:BRUSH", 1, false},
  };
  for (const Case& c : cases) {
    std::string error;
    const ui::Parameter& p = row(c.label);
    EXPECT_EQ(c.ok, ui::set_parameter(p, c.value, &error)) << c.label << " " << c.value;
    EXPECT_EQ(c.ok, error.empty()) << c.label << ": " << error;
    if (c.ok) {
      EXPECT_FLOAT_EQ(float(c.value), *ui::parameter_value(p)) << c.label;
    }
  }
  ui::write_reset_values();
}

TEST(ParameterTest, SideEffectsOfSetting) {
  std::string error;
  // Choosing a preset loads its bristle values.
  ASSERT_TRUE(ui::set_parameter(row("BRUSH:next"), 1, &error)) << error;
  EXPECT_FLOAT_EQ(brush_settings.bristles, brush_settings.preset_bristles[1]);
  EXPECT_FLOAT_EQ(brush_settings.bristle_size, brush_settings.preset_bristle_size[1]);
  // A canvas dial asks for the canvas texture to be rendered again.
  gpu::canvas_buffers.canvas_texture_dirty = false;
  ASSERT_TRUE(ui::set_parameter(row("CANVAS:SIZE"), 0.7, &error)) << error;
  EXPECT_TRUE(gpu::canvas_buffers.canvas_texture_dirty);
  EXPECT_FLOAT_EQ(gpu::canvas_settings.size, 0.7f);
  ui::write_reset_values();
}

// "Defaults" writes the reset column and leaves the rows without one alone.
TEST(ParameterTest, DefaultsWriteTheResetColumn) {
  std::string error;
  const struct {
    const char* label;
    double changed, after_reset;
  } cases[] = {
      {"MOUSE SPEED", 0.3, 0.95}, {"COLOR:RED", 0.9, 0.25}, {"FLUIDITY", 0.2, 1},
      {"DESATURATE", 0.4, 0.4},   {"DITHER", 0, 0},         {"PEN:SIZE [w]", 0, 1},
      {"BRUSH:SIZE", 80, 15},     {"BRUSH:next", 2, 8},     {"PEN:TILT", 0, 0},
  };
  for (const auto& c : cases) ASSERT_TRUE(ui::set_parameter(row(c.label), c.changed, &error)) << error;
  ui::write_reset_values();
  for (const auto& c : cases) EXPECT_FLOAT_EQ(float(c.after_reset), *ui::parameter_value(row(c.label))) << c.label;
  ASSERT_TRUE(ui::set_parameter(row("DESATURATE"), 0, &error));
  ASSERT_TRUE(ui::set_parameter(row("DITHER"), 1, &error));
  ASSERT_TRUE(ui::set_parameter(row("PEN:TILT"), 1, &error));
  ui::write_reset_values();
}

// Layer rows act on the active layer and refuse when there is none.
TEST(ParameterTest, LayerRowsNeedALayer) {
  std::string error;
  layer* const active = layers.active;
  layers.active = nullptr;
  EXPECT_FALSE(ui::set_parameter(row("LAYER:GLOSSINESS"), 2, &error));
  EXPECT_NE(error.find("layer"), std::string::npos) << error;
  EXPECT_EQ(ui::parameter_value(row("LAYER:GLOSSINESS")), std::nullopt);
  layers.active = active;
}
