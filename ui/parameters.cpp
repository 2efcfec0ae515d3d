#include "ui/parameters.h"

#include <cmath>
#include <cstdio>

#include "brush/brush_settings.h"
#include "document/color_settings.h"
#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "gpu/simulation_settings.h"
#include "layers/layer.h"
#include "ui/frame_settings.h"

FrameSettings frame_settings;

namespace ui {
namespace {

using K = ParamKind;

gpu::SimulationSettings& sim = gpu::simulation_settings;
gpu::DisplaySettings& disp = gpu::display_settings;
gpu::canvas& cnv = gpu::canvas_settings;
BrushSettings& brush = brush_settings;
ColorSettings& color = color_settings;

void canvas_changed() {
  gpu::canvas_buffers.canvas_texture_dirty = true;
}
void preset_changed() {
  step_brush_preset(0);
}

const char* const canvas_group = "GUI:CANVAS";
const char* const brush_group = "GUI:BRUSH";
const char* const layer_group = "GUI:LAYER";

// In the order the controls are created.
const Parameter table[] = {
    {"FLUIDITY", K::dial, 274, 19, 42, 42, nullptr, 1, 0, 1, 1.0f, 1.0f, &sim.fluidity},
    {"FLUID:SHARPNESS", K::dial, 234, 11, 20, 20, nullptr, 1, 0, 1, 0.0f, 0.0f, &sim.fluid_sharpness},
    {"FLUID:SMUDGE", K::dial, 228, 36, 20, 20, nullptr, 1, 0, 1, 0.5f, 0.5f, &sim.fluid_smudge},
    {"DRYING", K::toggle, 210, 21, 18, 18, nullptr, 0, 0, 1, 1.0f, 1.0f, nullptr, &sim.drying},
    {"DRYING SPEED", K::dial, 190, 21, 18, 18, nullptr, 0, 1, 1, 0.5f, 0.5f, &sim.drying_speed},
    {"FLUID:CURLS", K::dial, 168, 20, 21, 21, nullptr, 0, 1, 1, 0.25f, 0.25f, &sim.fluid_curls},
    {"MOUSE SPEED", K::dial, 210, 61, 16, 16, nullptr, 0.01f, 1, 1, 1.0f, 0.95f, &frame_settings.mouse_speed},
    {"GLOWING", K::dial, 190, 41, 18, 18, nullptr, 0, 1, 1, 0.0f, 0.0f, &disp.glowing},
    {"SMUDGE CHROMA", K::dial, 192, 70, 18, 18, nullptr, 0, 1, 1, 0.333f, 0.333f, &sim.smudge_chroma},
    {"DESATURATE", K::dial, 222, 80, 18, 18, nullptr, 0, 1, 1, 0.0f, std::nullopt, &disp.desaturate},
    {"PERCEPTION", K::dial, 242, 80, 18, 18, nullptr, 0, 1, 1, 0.0f, std::nullopt, &disp.perception},
    {"HUE DANCER", K::dial, 195, 110, 20, 20, nullptr, 0, 1, 1, 0.0f, 0.0f, &color.hue_dancer},
    {"DITHER", K::toggle, 25, 30, 22, 22, nullptr, 0, 0, 1, 1.0f, std::nullopt, nullptr, &disp.dither},
    {"HIGH QUALITY", K::toggle, 44, 16, 22, 22, nullptr, 0, 0, 1, 1.0f, std::nullopt, nullptr, &disp.high_quality},
    {"COLOR:RED", K::dial, 125, 191, 28, 28, nullptr, 0, 1, 1, 0.0f, 0.25f, &color.red},
    {"COLOR:GREEN", K::dial, 96, 193, 28, 28, nullptr, 0, 1, 1, 0.0f, 0.1f, &color.green},
    {"COLOR:BLUE", K::dial, 68, 188, 28, 28, nullptr, 0, 1, 1, 0.0f, 0.05f, &color.blue},
    {"COLOR:SATURATE", K::dial, 30, 177, 22, 22, nullptr, 0, 1, 1, 0.0f, 0.0f, &color.saturate},
    {"COLOR:DRP GAMMA", K::dial, 30, 203, 22, 22, nullptr, 0, 1, 1, 0.0f, 0.0f, &disp.drp_gamma},

    {canvas_group, K::group, 130, 230, 130, 45},
    {"CANVAS:SHOW", K::toggle, -3, 23, 20, 20, canvas_group, 0, 0, 1, 1.0f, 1.0f, nullptr, &cnv.show, nullptr, 0,
     canvas_changed},
    {"CANVAS:STRENGTH", K::dial, -23, 23, 20, 20, canvas_group, 0, 1, 1, 0.5f, 0.5f, &cnv.strength, nullptr, nullptr, 0,
     canvas_changed},
    {"CANVAS:SIZE", K::dial, -43, 23, 20, 20, canvas_group, 0, 1, 1, 0.5f, 0.5f, &cnv.size, nullptr, nullptr, 0,
     canvas_changed},
    {"CANVAS:DENSITY", K::dial, -63, 23, 20, 20, canvas_group, 0, 1, 1, 0.1f, 0.1f, &cnv.density, nullptr, nullptr, 0,
     canvas_changed},
    {"CANVAS:BIAS", K::dial, -83, 23, 20, 20, canvas_group, 0, 1, 1, 0.75f, 0.75f, &cnv.bias, nullptr, nullptr, 0,
     canvas_changed},
    {"CANVAS:STRETCH", K::dial, -103, 23, 20, 20, canvas_group, 0, 1, 1, 0.0f, 0.0f, &cnv.stretch, nullptr, nullptr, 0,
     canvas_changed},

    {brush_group, K::group, 130, 275, 130, 128},
    {"BRUSH:SIZE", K::dial, -3, 25, 38, 38, brush_group, 0, 0, 100, 15.0f, 15.0f, &brush.size},
    {"BRUSH:MIN SIZE", K::dial, -40, 22, 23, 23, brush_group, 0, 1, 1, 0.001f, 0.001f, &brush.size_min},
    {"PEN:SIZE [w]", K::toggle, -65, 36, 20, 20, brush_group, 0, 0, 1, 1.0f, 1.0f, nullptr, &brush.pen_size},
    {"PEN:OPACITY [e]", K::toggle, -85, 36, 20, 20, brush_group, 0, 0, 1, 0.0f, 0.0f, nullptr, &brush.pen_opacity},
    {"PEN:TILT", K::toggle, -105, 36, 20, 20, brush_group, 0, 0, 1, 1.0f, std::nullopt, nullptr, &brush.pen_tilt},
    {"BRUSH:BLENDING", K::dial, -5, 64, 20, 20, brush_group, 0, 1, 1, 0.0f, 0.0f, &brush.blending},
    {"BRUSH:BUILD UP", K::dial, -5, 87, 20, 20, brush_group, 0, 1, 1, 0.5f, 0.5f, &brush.build_up},
    {"BRUSH:BRI.SIZE", K::dial, -43, 64, 20, 20, brush_group, 0, 1, 1, 0.0f, 0.0f, &brush.bristle_size},
    {"BRUSH:BRISTLES", K::dial, -43, 87, 20, 20, brush_group, 0, 1, 1, 0.5f, 0.5f, &brush.bristles},
    {"BRUSH:OSCILLATE", K::dial, -26.5f, 70.5f, 15, 15, brush_group, 0, 1, 1, 0.0f, std::nullopt, &brush.oscillate},
    {"BRUSH:OSC.CHAOS", K::dial, -26.5f, 85.5f, 15, 15, brush_group, 0, 1, 1, 0.0f, std::nullopt, &brush.osc_chaos},
    {"BRUSH:BIAS", K::dial, -63, 62, 48, 48, brush_group, -1, 1, 1, 0.0f, 0.0f, &brush.bias},
    {"BRUSH:next", K::step_button, -110, 66, 13, 13, brush_group, 0, 9, 1, 8.0f, 8.0f, nullptr, &brush.preset, nullptr,
     +1, preset_changed},
    {"BRUSH:prev", K::step_button, -110, 94, 13, 13, brush_group, 0, 9, 1, 8.0f, 8.0f, nullptr, &brush.preset, nullptr,
     -1, preset_changed},

    {layer_group, K::group, 130, 399, 130, 72},
    {"LAYER", K::layer_list, -2, 26, 130, 32, layer_group},
    {"LAYER:BUMP", K::dial, -8, 23, 17, 17, layer_group, 0, 1, 1, std::nullopt, std::nullopt, nullptr, nullptr,
     &layer::bump},
    {"LAYER:GLOSSINESS", K::dial, -28, 23, 17, 17, layer_group, 0, 0, 1, std::nullopt, std::nullopt, nullptr, nullptr,
     &layer::glossiness},
    {"LAYER:DIFFUSION", K::dial, -48, 23, 17, 17, layer_group, 0, 0, 1, std::nullopt, std::nullopt, nullptr, nullptr,
     &layer::diffusion},
    {"LAYER:METALLIC", K::dial, -68, 23, 17, 17, layer_group, 0, 1, 1, std::nullopt, std::nullopt, nullptr, nullptr,
     &layer::metallic},
    {"LAYER:OPACITY", K::dial, -88, 23, 17, 17, layer_group, 0, 1, 1, std::nullopt, std::nullopt, nullptr, nullptr,
     &layer::opacity},
    {"LAYER:VISIBILITY", K::dial, -108, 23, 17, 17, layer_group, 0, 1, 1, std::nullopt, std::nullopt, nullptr, nullptr,
     &layer::visibility},

    {"MENU:CROP", K::menu_button, 409, 7, 45, 20, nullptr, 0, 0, 1, 0.0f, std::nullopt, nullptr,
     &frame_settings.crop_request},
    {"MENU:LOAD [o]", K::menu_button, 365, 7, 45, 20, nullptr, 0, 0, 1, 0.0f, std::nullopt, nullptr,
     &frame_settings.load_request},
    {"MENU:SAVE [ctrl+s]", K::menu_button, 321, 7, 45, 20, nullptr, 0, 0, 1, 0.0f, std::nullopt, nullptr,
     &frame_settings.save_request},
};

bool is_switch(ParamKind k) {
  return k == K::toggle || k == K::menu_button;
}

void write(const Parameter& p, float v) {
  if (float* f = float_target(p)) *f = v;
  if (p.flag) *p.flag = static_cast<unsigned char>(v);
  if (p.changed) p.changed();
}

}  // namespace

std::span<const Parameter> parameters() {
  return table;
}

const Parameter* find_parameter(std::string_view label) {
  for (const Parameter& p : table)
    if (label == p.label) return &p;
  return nullptr;
}

float* float_target(const Parameter& p) {
  if (p.value) return p.value;
  if (p.layer_value && layers.active) return &(layers.active->*p.layer_value);
  return nullptr;
}

std::optional<float> parameter_value(const Parameter& p) {
  if (const float* f = float_target(p)) return *f;
  if (p.flag) return float(*p.flag);
  return std::nullopt;
}

bool set_parameter(const Parameter& p, double v, std::string* error) {
  const std::string label = p.label;
  if (!p.bound()) {
    *error = "\"" + label + "\" drives no value";
    return false;
  }
  if (p.layer_value && !layers.active) {
    *error = "\"" + label + "\" needs a layer";
    return false;
  }
  if (!std::isfinite(v)) {
    *error = "\"" + label + "\" takes a finite number";
    return false;
  }
  if (is_switch(p.kind) && v != 0 && v != 1) {
    *error = "\"" + label + "\" is a switch: it takes 0 or 1";
    return false;
  }
  if (p.kind == K::step_button && (v != std::floor(v) || v < p.low || v > p.high)) {
    *error = "\"" + label + "\" takes a whole index from 0 to 9";
    return false;
  }
  if (p.kind == K::dial && !p.unbounded()) {
    const float lo = std::fmin(p.low, p.high), hi = std::fmax(p.low, p.high);
    if (v < lo || v > hi) {
      char range[64];
      std::snprintf(range, sizeof range, "%g to %g", double(lo), double(hi));
      *error = "\"" + label + "\" takes a value from " + range;
      return false;
    }
  }
  write(p, float(v));
  return true;
}

void write_reset_values() {
  for (const Parameter& p : table)
    if (p.reset) write(p, *p.reset);
}

std::string start_value_mismatches() {
  std::string out;
  for (const Parameter& p : table) {
    if (!p.start) continue;
    const std::optional<float> v = parameter_value(p);
    if (v && *v == *p.start) continue;
    char line[160];
    std::snprintf(line, sizeof line, "%s: has %g, starts at %g\n", p.label, v ? double(*v) : -1.0, double(*p.start));
    out += line;
  }
  return out;
}

}  // namespace ui
