#include "io/settings_format.h"

#include <cstring>

#include "io/byte_stream.h"
#include "io/settings_fields.h"

namespace io {

namespace {

constexpr std::size_t magic_size = 21;
constexpr std::size_t max_block = 4096;  // a version-1 block is 341 bytes

}  // namespace

std::vector<SettingValue> settings_values(const SettingsFile& s) {
  std::vector<SettingValue> v = {
      {"COLOR:DRP GAMMA", s.display_gamma},
      {"BRUSH:SIZE", s.brush_size},
  };
  if (s.has_brush_extras) {
    v.insert(v.end(), {
                          {"BRUSH:MIN SIZE", s.brush_min_size},
                          {"BRUSH:BLENDING", s.brush_blending},
                          {"BRUSH:BUILD UP", s.brush_build_up},
                          {"PEN:SIZE [w]", double(s.pen_size)},
                          {"PEN:OPACITY [e]", double(s.pen_opacity)},
                      });
  }
  v.insert(v.end(), {
                        {"MOUSE SPEED", s.mouse_speed},
                        {"HIGH QUALITY", double(s.high_quality)},
                        {"SMUDGE CHROMA", s.smudge_chroma},
                        {"FLUIDITY", s.fluidity},
                        {"FLUID:SHARPNESS", s.fluid_sharpness},
                        {"FLUID:SMUDGE", s.fluid_smudge},
                        {"DRYING SPEED", s.drying_speed},
                        {"CANVAS:SHOW", double(s.canvas_show)},
                        {"CANVAS:STRENGTH", s.canvas_strength},
                        {"CANVAS:SIZE", s.canvas_size},
                        {"CANVAS:BIAS", s.canvas_bias},
                        {"CANVAS:DENSITY", s.canvas_density},
                        {"CANVAS:STRETCH", s.canvas_stretch},
                        {"DRYING", double(s.drying)},
                    });
  return v;
}

Bytes encode_settings(const SettingsFile& s) {
  ByteWriter w;
  w.raw(project_magic, magic_size);
  w.u8(settings_version);
  write_opening_fields(w, s);
  w.f32(s.brush_size);
  w.f32(s.brush_min_size);
  w.f32(s.brush_blending);
  w.f32(s.brush_build_up);
  w.u8(s.pen_size);
  w.u8(s.pen_opacity);
  w.u8(s.r_key_toggle);
  write_preset_to_guide_fields(w, s);
  w.u8(s.canvas_show);
  w.f32(s.canvas_strength);
  w.f32(s.canvas_size);
  w.f32(s.canvas_bias);
  w.f32(s.canvas_density);
  w.f32(s.canvas_stretch);
  w.u8(s.drying);
  return std::move(w.bytes);
}

bool write_settings(Output& out, const SettingsFile& s) {
  Bytes block = pack_bank(encode_settings(s));
  return !block.empty() && write_segment(out, block);
}

Result<SettingsFile> read_settings(std::span<const uint8_t> bytes) {
  SegmentReader reader(bytes);
  Result<Segment> first = reader.read_segment(max_block);
  if (!first || first->status != SegmentStatus::ok) return Error{"this is not an Ollan settings file"};
  Result<Bytes> block = unpack_bank(first->block, max_block);
  if (!block || block->size() < magic_size + 1 || std::memcmp(block->data(), project_magic, magic_size) != 0)
    return Error{"this is not an Ollan settings file"};
  ByteReader r(std::span<const uint8_t>(*block).subspan(magic_size));
  SettingsFile s;
  s.version = r.u8();
  read_opening_fields(r, &s);
  s.brush_size = r.f32();
  // Only version 1 stores the brush fields from the minimum size to the R key.
  s.has_brush_extras = s.version == 1;
  if (s.has_brush_extras) {
    s.brush_min_size = r.f32();
    s.brush_blending = r.f32();
    s.brush_build_up = r.f32();
    s.pen_size = r.u8();
    s.pen_opacity = r.u8();
    s.r_key_toggle = r.u8();
  }
  read_preset_to_guide_fields(r, &s, true);
  s.canvas_show = r.u8();
  s.canvas_strength = r.f32();
  s.canvas_size = r.f32();
  s.canvas_bias = r.f32();
  s.canvas_density = r.f32();
  s.canvas_stretch = r.f32();
  s.drying = r.u8();
  if (!r.ok()) return Error{"the settings file ends early"};
  if (!r.finite()) return Error{"the settings file holds a number that is not finite"};
  if (s.guide_subdivisions < 1 || s.guide_subdivisions > max_guide_subdivisions)
    return Error{"the settings file asks for " + std::to_string(s.guide_subdivisions) + " guide subdivisions (1 to " +
                 std::to_string(max_guide_subdivisions) + " can be drawn)"};
  return s;
}

}  // namespace io
