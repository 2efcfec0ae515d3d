#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/floating_panels.h"
#include "app/frame_state.h"
#include "app/view.h"
#include "brush/brush_settings.h"
#include "document/color_settings.h"
#include "document/parameters.h"
#include "gpu/display_settings.h"
#include "gpu/guide_settings.h"
#include "gpu/simulation_settings.h"
#include "layers/layer.h"
#include "tests/gl_fixture.h"
#include "tests/script_run.h"

namespace {

using document::ParamId;

// The variables the keys drive, each read as a number.
struct Variable {
  const char* name;
  std::function<float()> read;
};

float param(ParamId id) {
  return document::value_of(id);
}
float layer_param(ParamId id) {
  return layers.active ? document::layer_value_of(id, *layers.active) : -1.0f;
}

const std::vector<Variable>& variables() {
  static const std::vector<Variable> v = {
      {"zoom", [] { return view.zoom; }},
      {"spin", [] { return view.spin; }},
      {"high quality", [] { return param(ParamId::high_quality); }},
      {"dither", [] { return param(ParamId::dither); }},
      {"drying", [] { return param(ParamId::drying); }},
      {"mirror", [] { return float(gpu::display_settings.mirror_mode); }},
      {"pen size", [] { return param(ParamId::pen_size); }},
      {"pen opacity", [] { return param(ParamId::pen_opacity); }},
      {"warp", [] { return float(modes.warp_mode); }},
      {"fixed angle", [] { return float(frame_state.fixed_angle); }},
      {"substeps", [] { return float(gpu::simulation_settings.substep_mode); }},
      {"build up", [] { return param(ParamId::brush_build_up); }},
      {"fluidity", [] { return param(ParamId::fluidity); }},
      {"fluid smudge", [] { return param(ParamId::fluid_smudge); }},
      {"fluid sharpness", [] { return param(ParamId::fluid_sharpness); }},
      {"brush type", [] { return float(brush_settings.brush_type); }},
      {"brush size", [] { return param(ParamId::brush_size); }},
      {"light x", [] { return gpu::display_settings.light_pos[0]; }},
      {"light y", [] { return gpu::display_settings.light_pos[1]; }},
      {"light z", [] { return gpu::display_settings.light_pos[2]; }},
      {"diffusion", [] { return layer_param(ParamId::layer_diffusion); }},
      {"glossiness", [] { return layer_param(ParamId::layer_glossiness); }},
      {"metallic", [] { return layer_param(ParamId::layer_metallic); }},
      {"colour", [] { return color_settings.current[0]; }},
      {"canvas strength", [] { return param(ParamId::canvas_strength); }},
      {"mask mode", [] { return float(modes.mask_mode); }},
      {"layers", [] { return float(layers.list.size()); }},
      {"hidden", [] { return layers.active ? float(layers.active->hidden) : -1.0f; }},
      {"undo shown", [] { return layers.active ? float(layers.active->showing_undo()) : -1.0f; }},
      {"panels hidden", [] { return float(panels_hidden()); }},
      {"crop mode", [] { return float(modes.crop_mode); }},
      {"full desktop", [] { return float(view.full_desktop); }},
      {"guide shown", [] { return float(gpu::guide_settings.guide_shown); }},
      {"guide sway", [] { return float(gpu::guide_settings.guide_wobble); }},
  };
  return v;
}

std::vector<float> read_all() {
  std::vector<float> out;
  for (const Variable& v : variables()) out.push_back(v.read());
  return out;
}

std::string press(const std::string& key) {
  return "key press " + key + "\nframe\n";
}
std::string hold(const std::string& key) {
  return "key down " + key + "\nframe 3\nkey up " + key + "\nframe\n";
}
// The key held while the pointer moves from the middle to x = `to_x`.
std::string drag(const std::string& key, int to_x) {
  return "key down " + key + "\nframe\nmouse " + std::to_string(to_x) + " 45\nframe\nkey up " + key + "\nframe\n";
}

// With L held, a left drag round a rectangle and the button let go.
std::string lasso() {
  return "key down L\nframe\ndown left\nframe\nmouse 120 20\nframe\nmouse 120 70\nframe\nmouse 40 70\nframe\n"
         "up left\nframe\nkey up L\nframe\n";
}

struct Binding {
  std::string action;
  std::vector<int> modifiers;  // the combinations (Shift 1, Ctrl 2, Alt 4) it answers
  const char* variable;
};

const std::vector<int> any = {0, 1, 2, 3, 4, 5, 6, 7};
const std::vector<int> with_ctrl = {2, 3, 6, 7};

std::string hold_modifiers(int m, const char* how) {
  std::string s;
  if (m & 1) s += std::string("key ") + how + " Left Shift\n";
  if (m & 2) s += std::string("key ") + how + " Left Ctrl\n";
  if (m & 4) s += std::string("key ") + how + " Left Alt\n";
  return s;
}

}  // namespace

// Every binding under every combination of Shift, Ctrl and Alt: the
// combinations it answers change its variable and no other of the table,
// every other combination leaves its variable alone.
TEST(KeyBindings, OnlyTheBoundCombinationChangesItsVariable) {
  const std::vector<Binding> bindings = {
      {press("Keypad +"), any, "zoom"},
      {press("Keypad -"), any, "zoom"},
      {hold("="), any, "spin"},
      {hold("-"), any, "spin"},
      {press("H"), with_ctrl, "high quality"},
      {press("D"), {1}, "dither"},
      {press("D"), {0, 3, 4, 5, 6, 7}, "drying"},
      {press("F6"), any, "mirror"},
      {press("F7"), any, "mirror"},
      {press("W"), {0}, "pen size"},
      {press("W"), {2}, "warp"},
      {press("E"), any, "pen opacity"},
      {press("A"), {0, 1, 3}, "fixed angle"},
      {press("Y"), any, "substeps"},
      {press("B"), {1}, "build up"},
      {drag("B", 40), {0, 1}, "build up"},
      {drag("F", 40), {0}, "fluidity"},
      {drag("F", 40), {1}, "fluid smudge"},
      {drag("F", 120), {2}, "fluid sharpness"},
      {press("4"), any, "brush type"},
      {press("]"), any, "brush size"},
      {press("["), any, "brush size"},
      {hold("Right"), {1}, "light x"},
      {hold("Right"), {2, 3}, "diffusion"},
      {hold("Up"), {1}, "light y"},
      {hold("Up"), {2, 3}, "glossiness"},
      {hold("PageUp"), {1}, "light z"},
      {hold("PageUp"), {2}, "metallic"},
      {press("X"), any, "colour"},
      {press("T"), {0}, "canvas strength"},
      {press("Q"), {2}, "mask mode"},
      {press("I"), {2}, "mask mode"},
      {lasso(), {0}, "mask mode"},
      {press("F9"), {0, 2, 3, 4, 5, 6, 7}, "layers"},
      {press("F12"), any, "hidden"},
      {press("Z"), with_ctrl, "undo shown"},
      {press("Tab"), any, "panels hidden"},
      {press("F2"), {1}, "crop mode"},
      {press("F3"), any, "full desktop"},
      {press("G"), {0, 2, 4, 6}, "guide shown"},
      {press("G"), {1, 3, 5, 7}, "guide sway"},
  };
  const std::vector<Variable>& vars = variables();
  for (const Binding& b : bindings) {
    const auto index =
        std::find_if(vars.begin(), vars.end(), [&](const Variable& v) { return b.variable == std::string(v.name); }) -
        vars.begin();
    ASSERT_LT(index, long(vars.size())) << b.variable;
    for (int m = 0; m < 8; ++m) {
      ScriptRun r;
      ASSERT_EQ(r.run("color 0.9 0.8 0.7\nmouse 80 45\nframe\n"), "");
      const std::vector<float> before = read_all();
      ASSERT_EQ(r.run(hold_modifiers(m, "down") + b.action + hold_modifiers(m, "up") + "frame\n"), "");
      const std::vector<float> after = read_all();
      const bool bound = std::find(b.modifiers.begin(), b.modifiers.end(), m) != b.modifiers.end();
      const std::string what = b.action + " with modifiers " + std::to_string(m);
      if (!bound) {
        EXPECT_EQ(after[index], before[index]) << what << " changed " << b.variable;
        continue;
      }
      EXPECT_NE(after[index], before[index]) << what << " left " << b.variable;
      for (std::size_t i = 0; i < vars.size(); ++i) {
        if (long(i) == index) continue;
        EXPECT_EQ(after[i], before[i]) << what << " also changed " << vars[i].name;
      }
    }
  }
}

// Repeated numpad zooms stop at the wheel's limits instead of reaching 0.
TEST(KeyBindings, NumpadZoomStaysWithinLimits) {
  ScriptRun r;
  std::string out, in;
  for (int i = 0; i < 40; ++i) out += press("Keypad -"), in += press("Keypad +");
  ASSERT_EQ(r.run("mouse 80 45\nframe\n" + out), "");
  EXPECT_GT(view.zoom, 0.2f);
  EXPECT_TRUE(std::isfinite(view.top_left.x));
  ASSERT_EQ(r.run(in), "");
  EXPECT_LE(view.zoom, 40.0f);
}

// Ctrl with the arrows lowers glossiness and diffusion to 0 and no further.
TEST(KeyBindings, MaterialKeysStopAtZero) {
  ScriptRun r;
  ASSERT_EQ(
      r.run("mouse 80 45\nframe\nkey down Left Ctrl\nkey down Left\nkey down Down\nkey down PageDown\nframe 80\n"), "");
  EXPECT_EQ(layers.active->diffusion, 0);
  EXPECT_EQ(layers.active->glossiness, 0);
  EXPECT_EQ(layers.active->metallic, 0);
}
