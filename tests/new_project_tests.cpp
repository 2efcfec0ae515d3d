// "New Project" (Ctrl+Delete): "Clear project?", then "Reset Default
// Settings?"; declined, the new project keeps the settings.
#include <gtest/gtest.h>

#include <string>

#include "gpu/canvas_presets.h"
#include "gpu/display_settings.h"
#include "layers/layer.h"
#include "tests/script_run.h"

namespace {

const std::string move_light =
    "key down \"Left Shift\"\nkey down Right\nframe 3\nkey up Right\nkey up \"Left Shift\"\nframe\n";
const std::string new_project = "key down \"Left Ctrl\"\nkey press Delete\nframe\nkey up \"Left Ctrl\"\nframe\n";

TEST(NewProject, DefaultsResetTheLightAndTheCanvasPresets) {
  ScriptRun r(160, 90);
  ASSERT_EQ(r.run(move_light + "key press F9\nframe\n"), "");
  const float moved = gpu::display_settings.light_pos[0];
  ASSERT_NE(moved, 0.5f);
  gpu::canvas_presets.presets[1].strength = 0.9f;
  ASSERT_EQ(layers.list.size(), 2u);

  // Cancelled at the first box: nothing happens.
  ASSERT_EQ(r.run("answer cancel\n" + new_project), "");
  EXPECT_EQ(layers.list.size(), 2u);
  // Declining the defaults: a new project with the settings kept.
  ASSERT_EQ(r.run("answer ok\nanswer cancel\n" + new_project), "");
  EXPECT_EQ(layers.list.size(), 1u);
  EXPECT_EQ(gpu::display_settings.light_pos[0], moved);
  EXPECT_EQ(gpu::canvas_presets.presets[1].strength, 0.9f);
  // Accepting them.
  ASSERT_EQ(r.run(move_light + "answer ok\nanswer ok\n" + new_project), "");
  EXPECT_EQ(gpu::display_settings.light_pos[0], 0.5f);
  EXPECT_EQ(gpu::display_settings.light_pos[2], 1.5f);
  EXPECT_EQ(gpu::canvas_presets.presets[1].strength, 0.5f);
}

}  // namespace
