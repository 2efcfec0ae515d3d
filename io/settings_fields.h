#pragma once
// The runs of fields a project header and a settings file store alike, in
// the same order: written and read once, for either struct (their members
// share names).
#include "io/byte_stream.h"
#include "io/project_format.h"

namespace io {

// The canvas size, the colour, the display and the light, the paper and the
// new-layer bump: the fields after the version byte.
template <typename T>
void write_opening_fields(ByteWriter& w, const T& s) {
  w.f32(s.width);
  w.f32(s.height);
  w.floats(s.color, 4);
  w.f32(s.display_gamma);
  w.f32(s.midpoint);
  w.floats(s.light_col, 3);
  w.floats(s.light_pos, 3);
  w.floats(s.ambient_col, 3);
  w.f32(s.light_setting);
  w.floats(s.paper, 4);
  w.f32(s.new_layer_bump);
}

template <typename T>
void read_opening_fields(ByteReader& r, T* s) {
  s->width = r.f32();
  s->height = r.f32();
  r.floats(s->color, 4);
  s->display_gamma = r.f32();
  s->midpoint = r.f32();
  r.floats(s->light_col, 3);
  r.floats(s->light_pos, 3);
  r.floats(s->ambient_col, 3);
  s->light_setting = r.f32();
  r.floats(s->paper, 4);
  s->new_layer_bump = r.f32();
}

// From the bristle presets to the guide's rotation.
template <typename T>
void write_preset_to_guide_fields(ByteWriter& w, const T& s) {
  w.floats(s.preset_bristle_size, stored_presets);
  w.floats(s.preset_bristles, stored_presets);
  w.floats(s.preset_bias, stored_presets);
  w.f32(s.mouse_speed);
  w.u8(s.mirror_mode);
  w.u8(s.high_quality);
  w.f32(s.smudge_chroma);
  w.f32(s.fluidity);
  w.f32(s.fluid_sharpness);
  w.f32(s.fluid_smudge);
  w.f32(s.drying_speed);
  w.f32(s.guide_fov);
  w.f32(s.guide_distortion);
  w.f32(s.guide_alpha);
  w.i32(s.guide_subdivisions);
  w.floats(s.guide_offset, 3);
  w.floats(s.guide_camera, 3);
  w.floats(s.guide_rotation, 3);
}

// `has_presets` false: an old project, which stores neither the presets nor
// the high-quality flag.
template <typename T>
void read_preset_to_guide_fields(ByteReader& r, T* s, bool has_presets) {
  if (has_presets) {
    r.floats(s->preset_bristle_size, stored_presets);
    r.floats(s->preset_bristles, stored_presets);
    r.floats(s->preset_bias, stored_presets);
  }
  s->mouse_speed = r.f32();
  s->mirror_mode = r.u8();
  if (has_presets) s->high_quality = r.u8();
  s->smudge_chroma = r.f32();
  s->fluidity = r.f32();
  s->fluid_sharpness = r.f32();
  s->fluid_smudge = r.f32();
  s->drying_speed = r.f32();
  s->guide_fov = r.f32();
  s->guide_distortion = r.f32();
  s->guide_alpha = r.f32();
  s->guide_subdivisions = r.i32();
  r.floats(s->guide_offset, 3);
  r.floats(s->guide_camera, 3);
  r.floats(s->guide_rotation, 3);
}

}  // namespace io
