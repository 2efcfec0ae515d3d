#include "document/project.h"

#include <algorithm>
#include <cstring>

#include "brush/brush_settings.h"
#include "document/color_model.h"
#include "document/color_settings.h"
#include "document/parameters.h"
#include "document/swatch_grid.h"
#include "gpu/canvas_buffers.h"
#include "gpu/canvas_presets.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "gpu/guide_settings.h"
#include "layers/canvas_setup.h"
#include "layers/layer.h"
#include "platform/gl.h"

namespace document {

using namespace io;

namespace {

// A value from a file goes through the parameter model, so that it stays within
// the control's range; one the control refuses leaves the setting as it was.
void set_from_file(ParamId id, float v) {
  (void)set_value(id, v);
}

CanvasPreset to_file(const gpu::canvas& c) {
  return {c.mode, c.inv, c.strength, c.size, c.bias, c.density, c.stretch};
}

void from_file(const CanvasPreset& p, gpu::canvas* c) {
  c->mode = std::min<uint8_t>(p.mode, 2);
  c->inv = p.inverted ? 1 : 0;
  c->strength = p.strength;
  c->size = p.size;
  c->bias = p.bias;
  c->density = p.density;
  c->stretch = p.stretch;
}

std::vector<float> read_buffer(const gpu::Buffer& b, GLenum format, int channels) {
  std::vector<float> out(std::size_t(b.width()) * b.height() * channels);
  glBindFramebuffer(GL_FRAMEBUFFER, b.framebuffer());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, b.width(), b.height(), format, GL_FLOAT, out.data());
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return out;
}

void upload_rows(const gpu::Buffer& b, int first_row, int rows, GLenum format, const float* data) {
  if (rows <= 0) return;
  glBindTexture(GL_TEXTURE_2D, b.texture());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, first_row, b.width(), rows, format, GL_FLOAT, data);
  glBindTexture(GL_TEXTURE_2D, 0);
}

}  // namespace

void replace_swatch_grid(const std::vector<std::vector<SwatchCell>>& columns) {
  swatch_grid.columns.clear();
  for (const auto& column : columns) {
    auto& out = swatch_grid.columns.emplace_back();
    for (const SwatchCell& c : column) out.push_back({c.r, c.g, c.b, c.a, c.xi, c.yi, c.x, c.y});
    arrange_file_column(out);
  }
  swatch_grid.current_column = std::max(0, int(swatch_grid.columns.size()) - 1);
}

ProjectHeader gather_project_header() {
  const gpu::DisplaySettings& d = gpu::display_settings;
  const BrushSettings& b = brush_settings;
  const gpu::GuideSettings& g = gpu::guide_settings;
  gpu::CanvasPresets& cp = gpu::canvas_presets;
  ProjectHeader h;
  h.width = float(gpu::geometry.width);
  h.height = float(gpu::geometry.height);
  std::copy_n(color_settings.current, 4, h.color);
  h.display_gamma = value_of(ParamId::color_drp_gamma);
  h.midpoint = color_settings.midpoint;
  std::copy_n(d.light_col, 3, h.light_col);
  std::copy_n(d.light_pos, 3, h.light_pos);
  std::copy_n(d.ambient_col, 3, h.ambient_col);
  h.light_setting = d.light_setting;
  std::copy_n(d.paper, 4, h.paper);
  h.new_layer_bump = d.new_layer_bump;
  for (const auto& column : swatch_grid.columns) {
    auto& out = h.swatches.emplace_back();
    for (const colors& c : column) out.push_back({c.r, c.g, c.b, c.a, c.xi, c.yi, c.x, c.y});
  }
  h.brush_size = value_of(ParamId::brush_size);
  std::copy_n(b.preset_bristle_size.begin(), stored_presets, h.preset_bristle_size);
  std::copy_n(b.preset_bristles.begin(), stored_presets, h.preset_bristles);
  std::copy_n(b.preset_bias.begin(), stored_presets, h.preset_bias);
  h.mouse_speed = value_of(ParamId::mouse_speed);
  h.mirror_mode = d.mirror_mode;
  h.high_quality = uint8_t(value_of(ParamId::high_quality));
  h.smudge_chroma = value_of(ParamId::smudge_chroma);
  h.fluidity = value_of(ParamId::fluidity);
  h.fluid_sharpness = value_of(ParamId::fluid_sharpness);
  h.fluid_smudge = value_of(ParamId::fluid_smudge);
  h.drying_speed = value_of(ParamId::drying_speed);
  h.guide_fov = g.guide_fov;
  h.guide_distortion = g.guide_distortion;
  h.guide_alpha = g.guide_alpha;
  h.guide_subdivisions = g.guide_subdivisions;
  std::copy_n(g.guide_offset, 3, h.guide_offset);
  std::copy_n(g.guide_camera, 3, h.guide_camera);
  std::copy_n(g.guide_rotation, 3, h.guide_rotation);
  h.canvas_show = uint8_t(value_of(ParamId::canvas_show));
  // The canvas dials are the current preset's values.
  gpu::canvas& current = cp.presets[std::min<int>(cp.current, 2)];
  const gpu::canvas& dials = gpu::canvas_settings;
  current.strength = dials.strength, current.size = dials.size, current.bias = dials.bias;
  current.density = dials.density, current.stretch = dials.stretch;
  h.canvas_preset = std::min<uint8_t>(cp.current, 2);
  for (int i = 0; i < 3; ++i) h.canvas_presets[i] = to_file(cp.presets[i]);
  h.custom_canvas = cp.custom_canvas ? 1 : 0;
  h.layer_count = int32_t(layers.list.size());
  return h;
}

void apply_project_header(const ProjectHeader& h) {
  gpu::DisplaySettings& d = gpu::display_settings;
  BrushSettings& b = brush_settings;
  gpu::GuideSettings& g = gpu::guide_settings;
  gpu::CanvasPresets& cp = gpu::canvas_presets;
  set_color(h.color[0], h.color[1], h.color[2], h.color[3]);
  set_from_file(ParamId::color_drp_gamma, h.display_gamma);
  color_settings.midpoint = h.midpoint;
  std::copy_n(h.light_col, 3, d.light_col);
  std::copy_n(h.light_pos, 3, d.light_pos);
  std::copy_n(h.ambient_col, 3, d.ambient_col);
  d.light_setting = h.light_setting;
  std::copy_n(h.paper, 4, d.paper);
  d.new_layer_bump = h.new_layer_bump;
  if (h.version >= 16) replace_swatch_grid(h.swatches);
  set_from_file(ParamId::brush_size, h.brush_size);
  std::copy_n(h.preset_bristle_size, stored_presets, b.preset_bristle_size.begin());
  std::copy_n(h.preset_bristles, stored_presets, b.preset_bristles.begin());
  std::copy_n(h.preset_bias, stored_presets, b.preset_bias.begin());
  set_from_file(ParamId::mouse_speed, h.mouse_speed);
  d.mirror_mode = h.mirror_mode;
  set_from_file(ParamId::high_quality, h.high_quality ? 1.0f : 0.0f);
  set_from_file(ParamId::smudge_chroma, h.smudge_chroma);
  set_from_file(ParamId::fluidity, h.fluidity);
  set_from_file(ParamId::fluid_sharpness, h.fluid_sharpness);
  set_from_file(ParamId::fluid_smudge, h.fluid_smudge);
  set_from_file(ParamId::drying_speed, h.drying_speed);
  g.guide_fov = h.guide_fov;
  g.guide_distortion = std::clamp(h.guide_distortion, -1.0f, 1.0f);
  g.guide_alpha = h.guide_alpha;
  g.guide_subdivisions = std::max(1, int(h.guide_subdivisions));
  std::copy_n(h.guide_offset, 3, g.guide_offset);
  std::copy_n(h.guide_camera, 3, g.guide_camera);
  std::copy_n(h.guide_rotation, 3, g.guide_rotation);
  gpu::clamp_guide(g);
  set_from_file(ParamId::canvas_show, h.canvas_show ? 1.0f : 0.0f);
  if (h.version >= 17) {
    cp.current = h.canvas_preset;
    for (int i = 0; i < 3; ++i) from_file(h.canvas_presets[i], &cp.presets[i]);
    cp.custom_canvas = h.custom_canvas;
    from_file(h.canvas_presets[h.canvas_preset], &gpu::canvas_settings);
  } else {
    // Older files keep only the five canvas dials.
    const CanvasPreset& p = h.canvas_presets[std::min<int>(h.canvas_preset, 2)];
    gpu::canvas& c = gpu::canvas_settings;
    c.strength = p.strength, c.size = p.size, c.bias = p.bias, c.density = p.density, c.stretch = p.stretch;
  }
  gpu::canvas_buffers.canvas_texture_dirty = true;
  // The bristle dials follow the current preset, whose tables were just read.
  step_brush_preset(0);
}

Result<void> save_project(const std::string& path, const Progress& progress, unsigned threads) {
  AtomicFile file(path);
  if (!file.is_open()) return Error{file.error()};
  ProjectHeader h = gather_project_header();
  const int bands = (h.custom_canvas ? project_bands : 0) + h.layer_count * project_bands;
  int done = 0;
  const int canvas_bands = h.custom_canvas ? project_bands : 0;
  auto step = [&] {
    ++done;
    if (progress)
      progress(done <= canvas_bands ? "Saving canvas..." : "Saving project...",
               float(done) / float(std::max(bands, 1)));
  };
  std::vector<float> canvas;
  if (h.custom_canvas) canvas = read_buffer(gpu::canvas_buffers.canvas_source, GL_RED, 1);
  std::vector<float> col, mat;
  auto next_layer = [&](int i) {
    layer& l = *layers.list[std::size_t(i)];
    // The file keeps what is shown: a shown undo state becomes the live one.
    // A snapshot taken for the stroke in progress (or a paste) stays, so that
    // saving changes nothing about what Ctrl+Z brings back.
    if (l.showing_undo()) {
      l.get_undo();
      l.UNDO_GET &= static_cast<unsigned char>(~undo_showing);
    }
    col = read_buffer(l.col, GL_RGBA, 4);
    mat = read_buffer(l.mat, GL_RED, 1);
    LayerSettings s;
    s.hidden = l.hidden ? 1 : 0;
    s.bump = l.bump, s.glossiness = l.glossiness, s.diffusion = l.diffusion, s.metallic = l.metallic;
    s.opacity = l.opacity, s.visibility = l.visibility;
    std::copy_n(l.color, 3, s.color);
    s.style = l.style;
    return LayerPixels{s, col, mat};
  };
  if (!write_project(file, h, canvas, next_layer, step, threads))
    return Error{file.error().empty() ? "the project could not be written" : file.error()};
  return file.commit();
}

Result<std::string> load_project(const std::string& path, int screen_w, int screen_h, const Progress& progress) {
  TRY_ASSIGN(const Bytes bytes, read_file(path));
  ReadLimits limits;
  limits.max_side = max_canvas_side;
  TRY_ASSIGN(const StoredProject p, read_project(bytes, limits));
  if (!valid_canvas_size(p.width, p.height))
    return Error{"the canvas size " + std::to_string(p.width) + " x " + std::to_string(p.height) + " cannot be made"};
  const float clear_rgb[3] = {0, 0, 0};
  if (!create_canvas(p.width, p.height, clear_rgb, screen_w, screen_h)) return Error{"the canvas could not be made"};
  apply_project_header(p.header);
  const int W = p.width, H = p.height;
  const int bands = (p.header.custom_canvas ? project_bands : 0) + int(p.layers.size()) * project_bands;
  int done = 0;
  auto step = [&] {
    if (progress) progress("Loading project...", float(++done) / float(std::max(bands, 1)));
  };
  if (p.header.custom_canvas) {
    for (int i = 0; i < project_bands; ++i) {
      std::vector<float> rows = unpack_canvas_band(p.canvas_bands[std::size_t(i)], W, band_rows(H, i));
      upload_rows(gpu::canvas_buffers.canvas_source, band_first_row(H, i), band_rows(H, i), GL_RED, rows.data());
      step();
    }
  }
  layer* below = nullptr;
  for (std::size_t i = 0; i < p.layers.size(); ++i) {
    const StoredLayer& stored = p.layers[i];
    layer* l = i == 0 ? layers.active : layer::Create(below, 0);
    const LayerSettings& s = stored.settings;
    l->hidden = s.hidden;
    l->bump = s.bump, l->glossiness = s.glossiness, l->diffusion = s.diffusion, l->metallic = s.metallic;
    l->opacity = s.opacity, l->visibility = s.visibility;
    std::copy_n(s.color, 3, l->color);
    l->style = s.style;
    unpack_layer_bands(stored, W, H, 0, [&](int b, BandPixels& px) {
      upload_rows(l->col, band_first_row(H, b), band_rows(H, b), GL_RGBA, px.col.data());
      upload_rows(l->mat, band_first_row(H, b), band_rows(H, b), GL_RED, px.mat.data());
      step();
    });
    // Ctrl+Z right after loading shows the loaded picture, not an empty layer.
    l->store_undo();
    l->UNDO_GET = 0;
    below = l;
  }
  layers.active = below;
  layers.active_number = int(p.layers.size());
  layers.changed = true;
  if (!p.truncated) return std::string();
  const StoredLayer& last = p.layers.back();
  const std::string of = " of " + std::to_string(p.header.layer_count);
  if (last.bands_read == project_bands) return "the file ends after layer " + std::to_string(p.layers.size()) + of;
  return "the file ends in layer " + std::to_string(p.layers.size()) + of + ", after " +
         std::to_string(last.bands_read) + " of its " + std::to_string(project_bands) + " bands";
}

}  // namespace document
