#pragma once
// The one table of every control-panel parameter: label, kind, place, range,
// start and reset values and the variable each drives. The controls bind to
// it, the project and settings files read and write through it, "Defaults"
// writes its reset column and the input script's `set` goes through it.
#include <optional>
#include <span>
#include <string>
#include <string_view>

class layer;

namespace ui {

// The numbers are the control kinds of the panel.
enum class ParamKind : unsigned char {
  group = 0,
  step_button = 1,
  toggle = 2,  // byte XOR 1
  dial = 3,
  menu_button = 7,  // byte XOR 1, a request the frame consumes
  layer_list = 8,
};

struct Parameter {
  const char* label;
  ParamKind kind;
  float x, y;                   // top level: x leftward from the right edge, y from the top; else within the group
  float w, h;                   // size; one number in the panel's table means w = h
  const char* group = nullptr;  // label of the parent group, null at top level
  // Dial range: low > high maps the dial reversed, low == high leaves it unbounded.
  float low = 0, high = 0;
  float multiplier = 1;
  std::optional<float> start = std::nullopt;  // value the program starts with (none: per layer)
  std::optional<float> reset = std::nullopt;  // value "Defaults" writes (none: left alone)
  float* value = nullptr;                     // float target
  unsigned char* flag = nullptr;              // byte target
  float layer::*layer_value = nullptr;        // field of the current layer
  int step = 0;                               // step buttons: the index moves by this
  void (*changed)() = nullptr;                // runs after the value was written

  bool unbounded() const { return low == high; }
  bool bound() const { return value || flag || layer_value; }
};

std::span<const Parameter> parameters();

// The row with exactly this label, or null.
const Parameter* find_parameter(std::string_view label);

// The float a row drives; the layer rows resolve against the active layer
// (null without one). Null for byte rows and rows with no variable.
float* float_target(const Parameter& p);

// The current value of the row's variable; nullopt when it has none.
std::optional<float> parameter_value(const Parameter& p);

// Writes `v` to the row's variable, as the control would: toggles and menu
// buttons take 0 or 1, step buttons an index 0..9, dials a value within their
// range (any finite value when unbounded). False with `error` set otherwise.
bool set_parameter(const Parameter& p, double v, std::string* error);

// "Defaults": writes every value of the reset column.
void write_reset_values();

// Rows whose variable does not hold the row's start value, one "LABEL: has X,
// starts at Y" line each; empty when all agree. Meaningful before anything
// has changed a value, so start-up checks it first.
std::string start_value_mismatches();

}  // namespace ui
