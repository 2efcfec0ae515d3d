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

  // canvas texture, filters and the GUI's programs
  ring,
  alpha_to_white,

  count
};

struct ProgramSpec {
  Prog id;
  const char* name;
  VertexStage vertex;
  const char* samplers;  // "name:unit name:unit ..."
  const char* uniforms;  // "name name ..." (samplers excluded)
};

extern const ProgramSpec program_table[];
constexpr std::size_t program_count = std::size_t(Prog::count);

const char* vertex_stage_file(VertexStage v);

}  // namespace gpu
