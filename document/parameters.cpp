#include "document/parameters.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "brush/brush_settings.h"
#include "document/color_model.h"
#include "document/color_settings.h"
#include "document/frame_settings.h"
#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "gpu/simulation_settings.h"
#include "layers/layer.h"

FrameSettings frame_settings;

namespace document {
namespace {

using K = ParamKind;
using P = ParamId;

gpu::SimulationSettings& sim = gpu::simulation_settings;
gpu::DisplaySettings& disp = gpu::display_settings;
gpu::canvas& cnv = gpu::canvas_settings;
BrushSettings& brush = brush_settings;
ColorSettings& color = color_settings;

// The start colour (0.25, 0.1, 0.05) has the saturation (0.2 / 0.25)^0.5.
constexpr float start_saturation = 0.8944272f;

void canvas_changed() {
  gpu::canvas_buffers.canvas_texture_dirty = true;
}
void preset_changed() {
  step_brush_preset(0);
}

// In ParamId order.
const Parameter table[] = {
    {P::fluidity, "FLUIDITY", K::dial, 1, 0, 1.0f, 1.0f, &sim.fluidity},
    {P::fluid_sharpness, "FLUID:SHARPNESS", K::dial, 1, 0, 0.0f, 0.0f, &sim.fluid_sharpness},
    {P::fluid_smudge, "FLUID:SMUDGE", K::dial, 1, 0, 0.5f, 0.5f, &sim.fluid_smudge},
    {P::drying, "DRYING", K::toggle, 0, 0, 1.0f, 1.0f, nullptr, &sim.drying},
    {P::drying_speed, "DRYING SPEED", K::dial, 0, 1, 0.5f, 0.5f, &sim.drying_speed},
    {P::fluid_curls, "FLUID:CURLS", K::dial, 0, 1, 0.25f, 0.25f, &sim.fluid_curls},
    {P::mouse_speed, "MOUSE SPEED", K::dial, 0.01f, 1, 1.0f, 0.95f, &frame_settings.mouse_speed},
    {P::glowing, "GLOWING", K::dial, 0, 1, 0.0f, 0.0f, &disp.glowing},
    {P::smudge_chroma, "SMUDGE CHROMA", K::dial, 0, 1, 0.333f, 0.333f, &sim.smudge_chroma},
    {P::desaturate, "DESATURATE", K::dial, 0, 1, 0.0f, std::nullopt, &disp.desaturate},
    {P::perception, "PERCEPTION", K::dial, 0, 1, 0.0f, std::nullopt, &disp.perception},
    {P::hue_dancer, "HUE DANCER", K::dial, 0, 1, 0.0f, 0.0f, &color.hue_dancer},
    {P::dither, "DITHER", K::toggle, 0, 0, 1.0f, std::nullopt, nullptr, &disp.dither},
    {P::high_quality, "HIGH QUALITY", K::toggle, 0, 0, 1.0f, std::nullopt, nullptr, &disp.high_quality},
    // The colour dials start and reset at the start colour.
    {P::color_red, "COLOR:RED", K::dial, 0, 1, 0.25f, 0.25f, &color.red, nullptr, nullptr, 0, color_dials_changed},
    {P::color_green, "COLOR:GREEN", K::dial, 0, 1, 0.1f, 0.1f, &color.green, nullptr, nullptr, 0, color_dials_changed},
    {P::color_blue, "COLOR:BLUE", K::dial, 0, 1, 0.05f, 0.05f, &color.blue, nullptr, nullptr, 0, color_dials_changed},
    {P::color_saturate, "COLOR:SATURATE", K::dial, 0, 1, start_saturation, start_saturation, &color.saturate, nullptr,
     nullptr, 0, saturate_dial_changed},
    {P::color_drp_gamma, "COLOR:DRP GAMMA", K::dial, 0, 1, 0.0f, 0.0f, &disp.drp_gamma},
    {P::canvas_show, "CANVAS:SHOW", K::toggle, 0, 0, 1.0f, 1.0f, nullptr, &cnv.show, nullptr, 0, canvas_changed},
    {P::canvas_strength, "CANVAS:STRENGTH", K::dial, 0, 1, 0.5f, 0.5f, &cnv.strength, nullptr, nullptr, 0,
     canvas_changed},
    {P::canvas_size, "CANVAS:SIZE", K::dial, 0, 1, 0.5f, 0.5f, &cnv.size, nullptr, nullptr, 0, canvas_changed},
    {P::canvas_density, "CANVAS:DENSITY", K::dial, 0, 1, 0.1f, 0.1f, &cnv.density, nullptr, nullptr, 0, canvas_changed},
    {P::canvas_bias, "CANVAS:BIAS", K::dial, 0, 1, 0.75f, 0.75f, &cnv.bias, nullptr, nullptr, 0, canvas_changed},
    {P::canvas_stretch, "CANVAS:STRETCH", K::dial, 0, 1, 0.0f, 0.0f, &cnv.stretch, nullptr, nullptr, 0, canvas_changed},
    {P::brush_size, "BRUSH:SIZE", K::dial, 0, 0, 15.0f, 15.0f, &brush.size, nullptr, nullptr, 0, nullptr, 1.0f},
    {P::brush_min_size, "BRUSH:MIN SIZE", K::dial, 0, 1, 0.001f, 0.001f, &brush.size_min},
    {P::pen_size, "PEN:SIZE [w]", K::toggle, 0, 0, 1.0f, 1.0f, nullptr, &brush.pen_size},
    {P::pen_opacity, "PEN:OPACITY [e]", K::toggle, 0, 0, 0.0f, 0.0f, nullptr, &brush.pen_opacity},
    {P::pen_tilt, "PEN:TILT", K::toggle, 0, 0, 1.0f, std::nullopt, nullptr, &brush.pen_tilt},
    {P::brush_blending, "BRUSH:BLENDING", K::dial, 0, 1, 0.0f, 0.0f, &brush.blending},
    {P::brush_build_up, "BRUSH:BUILD UP", K::dial, 0, 1, 0.5f, 0.5f, &brush.build_up},
    {P::brush_bristle_size, "BRUSH:BRI.SIZE", K::dial, 0, 1, 0.0f, 0.0f, &brush.bristle_size},
    {P::brush_bristles, "BRUSH:BRISTLES", K::dial, 0, 1, 0.5f, 0.5f, &brush.bristles},
    {P::brush_oscillate, "BRUSH:OSCILLATE", K::dial, 0, 1, 0.0f, std::nullopt, &brush.oscillate},
    {P::brush_osc_chaos, "BRUSH:OSC.CHAOS", K::dial, 0, 1, 0.0f, std::nullopt, &brush.osc_chaos},
    {P::brush_bias, "BRUSH:BIAS", K::dial, -1, 1, 0.0f, 0.0f, &brush.bias},
    {P::brush_next, "BRUSH:next", K::step_button, 0, 9, 8.0f, 8.0f, nullptr, &brush.preset, nullptr, +1,
     preset_changed},
    {P::brush_prev, "BRUSH:prev", K::step_button, 0, 9, 8.0f, 8.0f, nullptr, &brush.preset, nullptr, -1,
     preset_changed},
    {P::layer_bump, "LAYER:BUMP", K::dial, 0, 1, std::nullopt, std::nullopt, nullptr, nullptr, &layer::bump},
    {P::layer_glossiness, "LAYER:GLOSSINESS", K::dial, 0, 0, std::nullopt, std::nullopt, nullptr, nullptr,
     &layer::glossiness, 0, nullptr, 0.0f},
    {P::layer_diffusion, "LAYER:DIFFUSION", K::dial, 0, 0, std::nullopt, std::nullopt, nullptr, nullptr,
     &layer::diffusion, 0, nullptr, 0.0f},
    {P::layer_metallic, "LAYER:METALLIC", K::dial, 0, 1, std::nullopt, std::nullopt, nullptr, nullptr,
     &layer::metallic},
    {P::layer_opacity, "LAYER:OPACITY", K::dial, 0, 1, std::nullopt, std::nullopt, nullptr, nullptr, &layer::opacity},
    {P::layer_visibility, "LAYER:VISIBILITY", K::dial, 0, 1, std::nullopt, std::nullopt, nullptr, nullptr,
     &layer::visibility},
    {P::menu_crop, "MENU:CROP", K::menu_button, 0, 0, 0.0f, std::nullopt, nullptr, &frame_settings.crop_request},
    {P::menu_load, "MENU:LOAD [o]", K::menu_button, 0, 0, 0.0f, std::nullopt, nullptr, &frame_settings.load_request},
    {P::menu_save, "MENU:SAVE [ctrl+s]", K::menu_button, 0, 0, 0.0f, std::nullopt, nullptr,
     &frame_settings.save_request},
};
static_assert(std::size(table) == std::size_t(ParamId::count), "one row per id");

bool is_switch(ParamKind k) {
  return k == K::toggle || k == K::menu_button;
}

float* float_target(const Parameter& p) {
  if (p.value) return p.value;
  if (p.layer_value && layers.active) return &(layers.active->*p.layer_value);
  return nullptr;
}

void write(const Parameter& p, float v) {
  if (float* f = float_target(p)) *f = v;
  if (p.flag) *p.flag = static_cast<unsigned char>(v);
}

// The program's settings hold the start column from the first line of main on.
[[maybe_unused]] const bool start_values_written = (write_start_values(), true);

}  // namespace

std::span<const Parameter> parameters() {
  return table;
}

const Parameter& parameter(ParamId id) {
  return table[std::size_t(id)];
}

Result<const Parameter*> find_parameter(std::string_view label) {
  for (const Parameter& p : table)
    if (label == p.label) return &p;
  return Error{"no control is labelled \"" + std::string(label) + "\""};
}

std::optional<float> parameter_value(const Parameter& p) {
  if (const float* f = float_target(p)) return *f;
  if (p.flag) return float(*p.flag);
  return std::nullopt;
}

float value_of(ParamId id) {
  return parameter_value(parameter(id)).value_or(0.0f);
}

Result<void> check_value(const Parameter& p, double v) {
  const std::string label = p.label;
  if (!std::isfinite(v)) return Error{"\"" + label + "\" takes a finite number"};
  if (is_switch(p.kind) && v != 0 && v != 1) return Error{"\"" + label + "\" is a switch: it takes 0 or 1"};
  if (p.kind == K::step_button && (v != std::floor(v) || v < p.low || v > p.high))
    return Error{"\"" + label + "\" takes a whole index from 0 to 9"};
  if (p.kind == K::dial && p.unbounded() && v < p.least) {
    char least[32];
    std::snprintf(least, sizeof least, "%g", double(p.least));
    return Error{"\"" + label + "\" takes a value of at least " + least};
  }
  if (p.kind == K::dial && !p.unbounded()) {
    const float lo = std::fmin(p.low, p.high), hi = std::fmax(p.low, p.high);
    if (v < lo || v > hi) {
      char range[64];
      std::snprintf(range, sizeof range, "%g to %g", double(lo), double(hi));
      return Error{"\"" + label + "\" takes a value from " + range};
    }
  }
  return {};
}

Result<void> set_parameter(const Parameter& p, double v) {
  if (p.layer_value && !layers.active) return Error{"\"" + std::string(p.label) + "\" needs a layer"};
  TRY(check_value(p, v));
  write(p, float(v));
  if (p.changed) p.changed();
  return {};
}

Result<void> set_value(ParamId id, double v) {
  return set_parameter(parameter(id), v);
}

Result<void> set_layer_value(ParamId id, layer& l, double v) {
  const Parameter& p = parameter(id);
  if (!p.layer_value) return Error{"\"" + std::string(p.label) + "\" is not a layer's"};
  TRY(check_value(p, v));
  l.*p.layer_value = float(v);
  if (p.changed) p.changed();
  return {};
}

float layer_value_of(ParamId id, const layer& l) {
  const Parameter& p = parameter(id);
  return p.layer_value ? l.*p.layer_value : 0.0f;
}

void write_start_values() {
  for (const Parameter& p : table)
    if (p.start) write(p, *p.start);
}

void write_reset_values() {
  for (const Parameter& p : table)
    if (p.reset) {
      write(p, *p.reset);
      if (p.changed) p.changed();
    }
}

}  // namespace document
