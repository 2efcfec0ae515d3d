#include "brush/brush_settings.h"

#include <algorithm>

BrushSettings brush_settings;

static void load_preset(BrushSettings& s) {
  s.bristle_size = s.preset_bristle_size[s.preset];
  s.bristles = s.preset_bristles[s.preset];
  s.bias = s.preset_bias[s.preset];
}

void reset_brush_settings() {
  BrushSettings& s = brush_settings;
  const BrushSettings fresh;
  s.size_work = s.size;
  s.size_min_work = s.size_min;
  s.preset_bristle_size = fresh.preset_bristle_size;
  s.preset_bristles = fresh.preset_bristles;
  s.preset_bias = fresh.preset_bias;
  s.preset_extra = fresh.preset_extra;
  s.preset_spare = fresh.preset_spare;
  load_preset(s);
}

void step_brush_preset(int step) {
  BrushSettings& s = brush_settings;
  s.preset = static_cast<unsigned char>(std::clamp(int(s.preset) + step, 0, 9));
  load_preset(s);
}

void store_brush_type_settings() {
  BrushSettings& s = brush_settings;
  const int t = s.brush_type;
  s.type_bristles[t] = s.bristles;
  s.type_bristle_size[t] = s.bristle_size;
  s.type_bias[t] = s.bias;
  s.type_oscillate[t] = s.oscillate;
  s.type_osc_chaos[t] = s.osc_chaos;
}

void select_brush_type_by_key(int digit) {
  if (digit < 0 || digit > 9) return;
  BrushSettings& s = brush_settings;
  store_brush_type_settings();
  s.brush_type = static_cast<unsigned char>(digit == 0 ? 9 : digit - 1);
  const int t = s.brush_type;
  s.bristles = s.type_bristles[t];
  s.bristle_size = s.type_bristle_size[t];
  s.bias = s.type_bias[t];
  s.oscillate = s.type_oscillate[t];
  s.osc_chaos = s.type_osc_chaos[t];
}
