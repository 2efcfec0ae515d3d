#pragma once
// The catalogue of shader programs: one row per program, naming its vertex
// stage, its samplers with their fixed texture units and its uniforms. The
// fragment stage of program `name` is gpu/shaders/`name`.frag.
#include <cstddef>

namespace gpu {

enum class VertexStage { uv2, uv4, distort };

// Program ids, in catalogue order; the table's rows follow the same order and
// the same sections.
enum class Prog {
  // wet-paint simulation
  jacobi_diffuse,
  jacobi_average,
  velocity_deflect,
  advect,
  advect_power,
  advect_mat,
  advect_soft,
  advect_chroma,
  divergence,
  project_velocity,
  blur9_mat_h,
  blur9_mat_v,

  // brush deposit
  dab_soft,
  dab_pow,
  dab_textured,
  dab_uv,
  grain_catch,
  bristle_deposit,
  image_deposit,
  layer_composite_radial,
  mat_to_alpha_radial,
  mat_boost_radial,
  mat_to_alpha_rotated,
  area_diffuse,
  area_sharpen,
  area_copy_disc,
  area_copy,
  quad_warp,
  perspective_map,
  bristle_noise,
  bristle_noise_gray,

  // paint rendering and lighting
  paint_display,
  layer_composite,
  mat_relief,
  col_alpha_from_mat,
  mask_by_mat,
  overflow_glow,
  gauss_blur,
  sharpen,
  dither8,
  uv_lookup,
  uv_lookup_filtered,
  polygon_parity,
  depth_fade,
  mat_excess,
  mat_with_height,

  // canvas texture, filters and the GUI's programs
  ring,
  alpha_to_white,
  canvas_weave,
  height_to_normal,
  light_normals,
  blur9_h,
  blur9_v,
  clamp_to_circle,
  bright_dark,
  alpha_to_normal,
  glass,
  shrink4,
  color_wheel,

  // frame bookkeeping
  nonzero_texels,

  count
};

struct ProgramRow {
  Prog id;
  const char* name;
  VertexStage vertex;
  const char* samplers;  // "name:unit name:unit ..."
  const char* uniforms;  // "name name ..." (samplers excluded)
};

extern const ProgramRow program_table[];
constexpr std::size_t program_count = std::size_t(Prog::count);

const char* vertex_stage_file(VertexStage v);

}  // namespace gpu
