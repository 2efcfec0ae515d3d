#pragma once
// The settings file ("ols"): the working settings without pixels, one segment
// whose block is packed twice. Fields in order, little-endian: magic "Ollan
// Rizazuv version" (21 bytes), version byte (1), canvas width and height,
// colour r g b a, display gamma, wheel midpoint, light colour, light
// position, ambient colour (3 floats each), light setting, paper colour (4),
// new-layer bump, brush size; in version 1 only: minimum size, blending,
// build-up (floats) and the pressure-size, pressure-opacity and R-key bytes;
// then the bristle-size, bristle-count and bias preset tables (9 floats each),
// mouse speed, mirror mode and high quality (bytes), smudge chroma, fluidity,
// fluid sharpness, fluid smudge, drying speed, guide fov, distortion and
// alpha, guide subdivisions (int), guide offset, camera and rotation (3
// floats each), canvas shown (byte), canvas strength, size, bias, density,
// stretch, drying on (byte).
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "io/atomic_file.h"
#include "io/project_format.h"
#include "io/segment.h"

namespace io {

inline constexpr uint8_t settings_version = 1;

struct SettingsFile {
  uint8_t version = settings_version;
  float width = 0, height = 0;  // the canvas size when saved; a load never resizes by it
  float color[4] = {};
  float display_gamma = 0, midpoint = 1;
  float light_col[3] = {}, light_pos[3] = {}, ambient_col[3] = {};
  float light_setting = 0.5f;
  float paper[4] = {};
  float new_layer_bump = 0.2f;
  float brush_size = 15;
  bool has_brush_extras = true;  // version 1: the next six fields were stored
  float brush_min_size = 0, brush_blending = 0, brush_build_up = 0;
  uint8_t pen_size = 0, pen_opacity = 0, r_key_toggle = 0;
  float preset_bristle_size[stored_presets] = {}, preset_bristles[stored_presets] = {},
        preset_bias[stored_presets] = {};
  float mouse_speed = 1;
  uint8_t mirror_mode = 0, high_quality = 1;
  float smudge_chroma = 0, fluidity = 0, fluid_sharpness = 0, fluid_smudge = 0, drying_speed = 0;
  float guide_fov = 90, guide_distortion = 0.75f, guide_alpha = -0.5f;
  int32_t guide_subdivisions = 2;
  float guide_offset[3] = {}, guide_camera[3] = {0, 0, -300}, guide_rotation[3] = {};
  uint8_t canvas_show = 1;
  float canvas_strength = 0, canvas_size = 0, canvas_bias = 0, canvas_density = 0, canvas_stretch = 0;
  uint8_t drying = 1;
};

// A setting the control panel drives, by the label of its control.
struct SettingValue {
  std::string_view label;
  double value;
};

// The fields that have a control, as label and value, in file order, for the
// caller to set through the parameter model (which checks each range). The
// rest stay fields: the colour (set as a whole, with its derived values), the
// lights, paper, preset tables, guide and mirror mode.
std::vector<SettingValue> settings_values(const SettingsFile& s);

// The block before its two packings (always version 1).
Bytes encode_settings(const SettingsFile& s);
// Writes the whole file. False when the output failed.
bool write_settings(Output& out, const SettingsFile& s);

// Reads a whole settings file. An error, naming what is wrong, for anything
// that is not a complete settings file; every float is finite and the guide's
// subdivisions are 1 to max_guide_subdivisions.
inline constexpr int32_t max_guide_subdivisions = 64;
Result<SettingsFile> read_settings(std::span<const uint8_t> bytes);

}  // namespace io
