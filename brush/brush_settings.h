#pragma once
// The brush parameters the control panel edits: one field per dial or switch,
// bound by pointer to its row of the parameter model, which writes the start
// values of the labelled fields (their initialisers here are placeholders).
// Written by the control panel and the key bindings, read by the stroke.
#include <array>

// Per-type tables: one slot per brush type 0..9.
using brush_type_table = std::array<float, 10>;

struct BrushSettings {
  float size = 0;      // "BRUSH:SIZE", pixels, unbounded
  float size_min = 0;  // "BRUSH:MIN SIZE", fraction of the size at zero pressure
  // Working copies of size and minimum size that pressure and smoothing act on.
  float size_work = 15;
  float size_min_work = 0.001f;
  unsigned char pen_size = 0;       // "PEN:SIZE [w]": pressure drives size
  unsigned char pen_opacity = 0;    // "PEN:OPACITY [e]": pressure drives opacity
  unsigned char pen_tilt = 0;       // "PEN:TILT": the pen's tilt steers brushes below type 4
  float blending = 0;               // "BRUSH:BLENDING"
  float build_up = 0;               // "BRUSH:BUILD UP"
  float bristle_size = 0;           // "BRUSH:BRI.SIZE"
  float bristles = 0;               // "BRUSH:BRISTLES"; the count is Int(1 + 4000 x this)
  float oscillate = 0;              // "BRUSH:OSCILLATE"
  float osc_chaos = 0;              // "BRUSH:OSC.CHAOS"
  float bias = 0;                   // "BRUSH:BIAS", -1..1
  unsigned char preset = 0;         // "BRUSH:next" / "BRUSH:prev", 0..9
  unsigned char paint_submode = 1;  // the "=" cycler: 0 "=", 1 ">", 2 "+"
  unsigned char brush_type = 8;     // current brush type 0..9 (keys 1..9, 0)
  float rotation = 0;               // brush rotation in degrees, added to the stroke direction
  int image_mode = 3;               // brush-image choice per stroke: 0 next, 1 by pen, 2 random, 3 keep
  unsigned char area_tool = 1;      // erase sharpens and average blurs the paint under the brush

  // Per-type memories of the bristle dials; the stroke writes the dials into
  // the current type's slot every frame. Type 8 starts with the dials' values;
  // the dials of the other types start from their presets.
  brush_type_table type_bristles{0, 1, 1, 1, 1, 1, 0, 0.25f, 0.5f, 0.5f};
  brush_type_table type_bristle_size{0, 0.75f, 0.01f, 0.5f, 0.5f, 0, 0, 0.75f, 0, 0};
  brush_type_table type_bias{-1, 0, 0, 0, 0, 0, 0.25f, 0, 0, 0};
  brush_type_table type_oscillate{};
  brush_type_table type_osc_chaos{};

  // The presets the step buttons load: bristle size, bristle count, bias and
  // two spare tables.
  brush_type_table preset_bristle_size{0, 0.75f, 0.01f, 0.5f, 0.5f, 0, 0, 0.75f, 0, 0};
  brush_type_table preset_bristles{0, 1, 1, 1, 1, 1, 0, 0.25f, 0.5f, 0.5f};
  brush_type_table preset_bias{-1, 0, 0, 0, 0, 0, 0.25f, 0, 0, 0};
  brush_type_table preset_extra{0, 0, 0, 0, 0, 0, 0, 0, 0, 0.5f};
  brush_type_table preset_spare{};
};

extern BrushSettings brush_settings;

// After the parameter model's reset column: the preset tables as they start,
// the current preset loaded and the working copies at the reset size.
void reset_brush_settings();
// Moves the preset index by step within 0..9 and loads bristle count, size and bias from it.
void step_brush_preset(int step);
// Selects the brush type for a digit key: keys 1..9 give types 0..8, key 0
// gives type 9. The bristle dials take the new type's remembered values.
void select_brush_type_by_key(int digit);
// Writes the bristle dials into the current type's slots (every frame).
void store_brush_type_settings();
