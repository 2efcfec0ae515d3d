#include "gpu/program_table.h"

namespace gpu {

// Rows in the order of the Prog enum (checked when the programs are built).
const ProgramSpec program_table[] = {
    // wet-paint simulation

    // brush deposit
    {Prog::dab_soft, "dab_soft", VertexStage::uv2, "", "falloff"},
    {Prog::dab_pow, "dab_pow", VertexStage::uv2, "", "falloff"},
    {Prog::dab_textured, "dab_textured", VertexStage::uv2, "matbuffer:0 colbuffer:1", "falloff colormode"},
    {Prog::dab_uv, "dab_uv", VertexStage::uv2, "", "falloff uv_coords"},
    {Prog::grain_catch, "grain_catch", VertexStage::uv4, "canbuffer:0 matbuffer:1", "strength offset velo"},
    {Prog::bristle_deposit, "bristle_deposit", VertexStage::uv4, "canbuffer:0 matbuffer:1 colbuffer:2 alpbuffer:3",
     "mode offset velo"},
    {Prog::image_deposit, "image_deposit", VertexStage::uv4, "matbuffer:0 colbuffer:1", "mode"},
    {Prog::layer_composite_radial, "layer_composite_radial", VertexStage::uv2, "matbuffer:0 colbuffer:1",
     "premul visibility radial"},
    {Prog::mat_to_alpha_radial, "mat_to_alpha_radial", VertexStage::uv2, "matbuffer:0", "radial"},
    {Prog::mat_boost_radial, "mat_boost_radial", VertexStage::uv2, "matbuffer:0", "radial"},
    {Prog::mat_to_alpha_rotated, "mat_to_alpha_rotated", VertexStage::uv2, "matbuffer:0", ""},
    {Prog::area_diffuse, "area_diffuse", VertexStage::uv2, "oldBuffer:0", "area offset spread spdiff"},
    {Prog::area_sharpen, "area_sharpen", VertexStage::uv2, "oldBuffer:0", "area offset spread spdiff"},
    {Prog::area_copy_disc, "area_copy_disc", VertexStage::uv2, "oldBuffer:0", "area"},
    {Prog::area_copy, "area_copy", VertexStage::uv2, "cBuffer:0", "area"},
    {Prog::quad_warp, "quad_warp", VertexStage::uv4, "colbuffer:0",
     "ablen bclen dclen adlen udiv vdiv ucross vcross pa pb pc pd xuv"},
    {Prog::perspective_map, "perspective_map", VertexStage::uv4, "colbuffer:0 matbuffer:1", "pa pb pc pd perspective"},
    {Prog::bristle_noise, "bristle_noise", VertexStage::uv2, "", "size brisize brisize_cmp"},
    {Prog::bristle_noise_gray, "bristle_noise_gray", VertexStage::uv2, "", "size brisize brisize_cmp"},

    // paint rendering and lighting

    // canvas texture, filters and the GUI's programs
    {Prog::ring, "ring", VertexStage::uv2, "", "thickness"},
    {Prog::alpha_to_white, "alpha_to_white", VertexStage::uv2, "colbuffer:0", ""},
};

const char* vertex_stage_file(VertexStage v) {
  switch (v) {
    case VertexStage::uv2: return "vertex_uv2.vert";
    case VertexStage::uv4: return "vertex_uv4.vert";
    case VertexStage::distort: return "vertex_distort.vert";
  }
  return "";
}

}  // namespace gpu
