#pragma once
// The one model of every setting the control panel, the keys, the input
// script and the files change: for each its id, label, kind, range, start and
// reset values, the variable it drives (its owner) and the hook that runs
// after a change. The start column is the only place a start value is
// written; the variables' own initialisers are placeholders. Labels address
// rows for the GUI, the script's `set` and the files; code addresses them by
// id. Where the controls stand on the panel is ui/panel_layout's business.
#include <limits>
#include <optional>
#include <span>
#include <string_view>

#include "base/result.h"

class layer;

namespace document {

// In the order the panel creates its controls.
enum class ParamId : unsigned char {
  fluidity,
  fluid_sharpness,
  fluid_smudge,
  drying,
  drying_speed,
  fluid_curls,
  mouse_speed,
  glowing,
  smudge_chroma,
  desaturate,
  perception,
  hue_dancer,
  dither,
  high_quality,
  color_red,
  color_green,
  color_blue,
  color_saturate,
  color_drp_gamma,
  canvas_show,
  canvas_strength,
  canvas_size,
  canvas_density,
  canvas_bias,
  canvas_stretch,
  brush_size,
  brush_min_size,
  pen_size,
  pen_opacity,
  pen_tilt,
  brush_blending,
  brush_build_up,
  brush_bristle_size,
  brush_bristles,
  brush_oscillate,
  brush_osc_chaos,
  brush_bias,
  brush_next,
  brush_prev,
  layer_bump,
  layer_glossiness,
  layer_diffusion,
  layer_metallic,
  layer_opacity,
  layer_visibility,
  menu_crop,
  menu_load,
  menu_save,
  count
};

// The numbers are the control kinds of the panel.
enum class ParamKind : unsigned char {
  step_button = 1,
  toggle = 2,  // byte XOR 1
  dial = 3,
  menu_button = 7,  // byte XOR 1, a request the frame consumes
};

struct Parameter {
  ParamId id;
  const char* label;
  ParamKind kind;
  // Dial range: low > high maps the dial reversed, low == high leaves it unbounded.
  float low = 0, high = 0;
  std::optional<float> start;           // value the program starts with (none: per layer)
  std::optional<float> reset;           // value "Defaults" writes (none: left alone)
  float* value = nullptr;               // float target
  unsigned char* flag = nullptr;        // byte target
  float layer::*layer_value = nullptr;  // field of the current layer
  int step = 0;                         // step buttons: the index moves by this
  void (*changed)() = nullptr;          // runs after the value was written
  // Unbounded dials: the least value taken (a size divides, a material
  // factor must not turn negative).
  float least = -std::numeric_limits<float>::infinity();

  bool unbounded() const { return low == high; }
};

std::span<const Parameter> parameters();
const Parameter& parameter(ParamId id);

// The row with exactly this label; an error naming the label otherwise.
Result<const Parameter*> find_parameter(std::string_view label);

// The current value of the row's variable; nullopt for a layer row without
// an active layer.
std::optional<float> parameter_value(const Parameter& p);
// The value of a row that does not belong to a layer.
float value_of(ParamId id);

// Writes `v` to the row's variable, as the control would, and runs its hook:
// toggles and menu buttons take 0 or 1, step buttons an index 0..9, dials a
// value within their range (unbounded: any finite value from `least` up). An error, with
// nothing written, otherwise.
Result<void> set_parameter(const Parameter& p, double v);
Result<void> set_value(ParamId id, double v);
// The same check and hook for the row's field of layer `l`, active or not;
// an error for a row that is not a layer's.
Result<void> set_layer_value(ParamId id, layer& l, double v);
float layer_value_of(ParamId id, const layer& l);
// Whether `v` is a value the row takes (see set_parameter).
Result<void> check_value(const Parameter& p, double v);

// The start column, written without hooks. The program starts with it (it is
// written before main) and a reset of the settings writes it again.
void write_start_values();

// "Defaults": writes every value of the reset column, hooks included.
void write_reset_values();

}  // namespace document
