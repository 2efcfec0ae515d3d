#include "document/small_files.h"

#include <algorithm>

#include "brush/brush_settings.h"
#include "document/brush_images.h"
#include "document/parameters.h"
#include "document/project.h"
#include "document/swatch_grid.h"
#include "gpu/canvas_presets.h"
#include "io/swatch_format.h"

namespace document {

namespace {

// Settings files are only ever read whole; a few kilobytes is plenty.
constexpr std::size_t max_settings_file = std::size_t(1) << 16;
constexpr std::size_t max_swatch_file = std::size_t(1) << 28;
// The whole file is held while its images are made: a dozen images of the
// largest size fit.
constexpr std::size_t max_brush_image_file = std::size_t(1) << 30;

unsigned char flag(uint8_t v) {
  return v != 0 ? 1 : 0;
}

Result<void> commit(io::AtomicFile& file, bool written, const char* what) {
  if (!written) return Error{file.error().empty() ? std::string(what) + " could not be written" : file.error()};
  return file.commit();
}

}  // namespace

namespace {

// The fields a settings file shares with a project header, either way.
template <typename From, typename To>
void copy_shared_fields(const From& a, To* b) {
  std::copy_n(a.color, 4, b->color);
  b->display_gamma = a.display_gamma;
  b->midpoint = a.midpoint;
  std::copy_n(a.light_col, 3, b->light_col);
  std::copy_n(a.light_pos, 3, b->light_pos);
  std::copy_n(a.ambient_col, 3, b->ambient_col);
  b->light_setting = a.light_setting;
  std::copy_n(a.paper, 4, b->paper);
  b->new_layer_bump = a.new_layer_bump;
  b->brush_size = a.brush_size;
  std::copy_n(a.preset_bristle_size, io::stored_presets, b->preset_bristle_size);
  std::copy_n(a.preset_bristles, io::stored_presets, b->preset_bristles);
  std::copy_n(a.preset_bias, io::stored_presets, b->preset_bias);
  b->mouse_speed = a.mouse_speed;
  b->mirror_mode = a.mirror_mode;
  b->high_quality = a.high_quality;
  b->smudge_chroma = a.smudge_chroma;
  b->fluidity = a.fluidity;
  b->fluid_sharpness = a.fluid_sharpness;
  b->fluid_smudge = a.fluid_smudge;
  b->drying_speed = a.drying_speed;
  b->guide_fov = a.guide_fov;
  b->guide_distortion = a.guide_distortion;
  b->guide_alpha = a.guide_alpha;
  b->guide_subdivisions = std::clamp<int32_t>(a.guide_subdivisions, 1, io::max_guide_subdivisions);
  std::copy_n(a.guide_offset, 3, b->guide_offset);
  std::copy_n(a.guide_camera, 3, b->guide_camera);
  std::copy_n(a.guide_rotation, 3, b->guide_rotation);
  b->canvas_show = a.canvas_show;
}

}  // namespace

io::SettingsFile gather_settings() {
  const ProjectHeader h = gather_project_header();
  io::SettingsFile s;
  s.width = h.width;
  s.height = h.height;
  copy_shared_fields(h, &s);
  s.brush_min_size = value_of(ParamId::brush_min_size);
  s.brush_blending = value_of(ParamId::brush_blending);
  s.brush_build_up = value_of(ParamId::brush_build_up);
  s.pen_size = uint8_t(value_of(ParamId::pen_size));
  s.pen_opacity = uint8_t(value_of(ParamId::pen_opacity));
  const gpu::canvas& dials = gpu::canvas_settings;
  s.canvas_strength = dials.strength;
  s.canvas_size = dials.size;
  s.canvas_bias = dials.bias;
  s.canvas_density = dials.density;
  s.canvas_stretch = dials.stretch;
  s.drying = uint8_t(value_of(ParamId::drying));
  return s;
}

void apply_settings(const io::SettingsFile& s) {
  // The fields a settings file shares with a project header go in as a
  // project's would, over the header of the program as it stands, so that
  // what the file lacks (swatches, canvas presets, layers) stays.
  ProjectHeader h = gather_project_header();
  h.version = 12;  // no swatches, and the canvas dials taken as they are
  copy_shared_fields(s, &h);
  apply_project_header(h);
  // The controls' values, each through its row's range.
  for (const io::SettingValue& v : io::settings_values(s))
    if (Result<const Parameter*> p = find_parameter(v.label)) (void)set_parameter(**p, v.value);
}

Result<void> save_settings(const std::string& path) {
  io::AtomicFile file(path);
  if (!file.is_open()) return Error{file.error()};
  return commit(file, io::write_settings(file, gather_settings()), "the settings");
}

Result<void> load_settings(const std::string& path) {
  TRY_ASSIGN(const io::Bytes bytes, io::read_file(path, max_settings_file));
  TRY_ASSIGN(const io::SettingsFile s, io::read_settings(bytes));
  apply_settings(s);
  return {};
}

Result<void> save_swatches(const std::string& path) {
  io::AtomicFile file(path);
  if (!file.is_open()) return Error{file.error()};
  return commit(file, io::write_swatches(file, gather_project_header().swatches), "the swatches");
}

Result<void> load_swatches(const std::string& path) {
  TRY_ASSIGN(const io::Bytes bytes, io::read_file(path, max_swatch_file));
  TRY_ASSIGN(const io::SwatchColumns columns, io::read_swatches(bytes));
  replace_swatch_grid(columns);
  return {};
}

io::BrushImageOptions gather_brush_image_options() {
  const BrushImageOptions& b = brush_images.options;
  io::BrushImageOptions o;
  o.bristle_size = value_of(ParamId::brush_bristle_size);
  o.bristles = value_of(ParamId::brush_bristles);
  o.bias = value_of(ParamId::brush_bias);
  o.oscillate = value_of(ParamId::brush_oscillate);
  o.osc_chaos = value_of(ParamId::brush_osc_chaos);
  o.image_flag = b.use;
  o.paint_mode = brush_settings.paint_submode;
  o.playback_mode = uint8_t(brush_settings.image_mode);
  o.image_color = b.colour;
  return o;
}

void apply_brush_image_options(const io::BrushImageOptions& o) {
  (void)set_value(ParamId::brush_bristle_size, o.bristle_size);
  (void)set_value(ParamId::brush_bristles, o.bristles);
  (void)set_value(ParamId::brush_bias, o.bias);
  (void)set_value(ParamId::brush_oscillate, o.oscillate);
  (void)set_value(ParamId::brush_osc_chaos, o.osc_chaos);
  BrushImageOptions& b = brush_images.options;
  b.use = flag(o.image_flag);
  b.colour = flag(o.image_color);
  if (o.paint_mode <= 2) brush_settings.paint_submode = o.paint_mode;
  if (o.playback_mode <= 3) brush_settings.image_mode = o.playback_mode;
}

Result<void> save_brush_images(const std::string& path, const std::function<void(float done)>& progress) {
  io::AtomicFile file(path);
  if (!file.is_open()) return Error{file.error()};
  if (progress) progress(0);
  std::vector<io::BrushImage> images;
  for (const auto& image : brush_images.list) {
    io::BrushImage& out = images.emplace_back();
    out.width = image->width;
    out.height = image->height;
    for (std::size_t i = 0; i < 4; ++i) {
      out.huv[i][0] = image->huv[i].x;
      out.huv[i][1] = image->huv[i].y;
    }
    out.perspective = image->perspective;
    out.name = image->name;
    out.col = read_image_col(*image);
    out.mat = read_image_mat(*image);
  }
  const float n = float(std::max<std::size_t>(images.size(), 1));
  const bool written = io::write_brush_images(file, gather_brush_image_options(), images, [&](int done) {
    if (progress) progress(float(done) / n);
  });
  return commit(file, written, "the brush images");
}

Result<std::string> load_brush_images(const std::string& path) {
  TRY_ASSIGN(const io::Bytes bytes, io::read_file(path, max_brush_image_file));
  TRY_ASSIGN(const io::BrushImageFile f, io::read_brush_images(bytes));
  clear_brush_images();
  for (const io::BrushImage& image : f.images) {
    std::array<vec2d, 4> quad;
    for (std::size_t i = 0; i < 4; ++i) quad[i] = vec2d::Create(image.huv[i][0], image.huv[i][1]);
    add_brush_image(image.name, image_col_buffer(image.width, image.height, image.col.data()),
                    image_mat_buffer(image.width, image.height, image.mat.data()), image.width, image.height, quad,
                    image.perspective);
  }
  apply_brush_image_options(f.options);
  if (!f.truncated) return std::string();
  return "the file ends early: " + std::to_string(f.images.size()) + " of " + std::to_string(f.stated_count) +
         " brush images loaded";
}

}  // namespace document
