#include "gpu/program_table.h"

namespace gpu {

// Rows in the order of the Prog enum (checked when the programs are built).
const ProgramRow program_table[] = {
    // wet-paint simulation
    {Prog::jacobi_diffuse, "jacobi_diffuse", VertexStage::uv2, "oldBuffer:0 newBuffer:1", "offset spread spdiff"},
    {Prog::jacobi_average, "jacobi_average", VertexStage::uv2, "oldBuffer:0 newBuffer:1", "offset"},
    {Prog::velocity_deflect, "velocity_deflect", VertexStage::uv2, "vecBuffer:0 canBuffer:1 matBuffer:2", ""},
    {Prog::advect, "advect", VertexStage::uv2, "vecBuffer:0 colBuffer:1", "ratio"},
    {Prog::advect_power, "advect_power", VertexStage::uv2, "vecBuffer:0 colBuffer:1", "power ratio"},
    {Prog::advect_mat, "advect_mat", VertexStage::uv2, "vecBuffer:0 colBuffer:1", "power ratio softness"},
    {Prog::advect_soft, "advect_soft", VertexStage::uv2, "vecBuffer:0 colBuffer:1", "ratio softness"},
    {Prog::advect_chroma, "advect_chroma", VertexStage::uv2, "vecBuffer:0 colBuffer:1 matBuffer:2",
     "power ratio softness chroma"},
    {Prog::divergence, "divergence", VertexStage::uv2, "dbuffer:0", "offset power"},
    {Prog::project_velocity, "project_velocity", VertexStage::uv2, "vecBuffer:0 divBuffer:1", "offset fspeed"},
    {Prog::blur9_mat_h, "blur9_mat_h", VertexStage::uv2, "oldBuffer:0 matBuffer:1", "offset kcenter kernel"},
    {Prog::blur9_mat_v, "blur9_mat_v", VertexStage::uv2, "oldBuffer:0 matBuffer:1", "offset kcenter kernel"},

    // brush deposit
    {Prog::dab_soft, "dab_soft", VertexStage::uv2, "", "falloff"},
    {Prog::dab_pow, "dab_pow", VertexStage::uv2, "", "falloff"},
    {Prog::dab_textured, "dab_textured", VertexStage::uv2, "matbuffer:0 colbuffer:1", "falloff colormode"},
    {Prog::dab_uv, "dab_uv", VertexStage::uv2, "", "falloff uv_coords"},
    {Prog::grain_catch, "grain_catch", VertexStage::uv4, "canbuffer:0 matbuffer:1", "offset velo"},
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
    {Prog::paint_display, "paint_display", VertexStage::uv2, "matBuffer:0 colBuffer:1 accBuffer:2 canBuffer:3",
     "depth ratio diffusion glossiness metallic visibility desaturation perception gamma premul canvas_active offset "
     "lpos lcol ambcol"},
    {Prog::layer_composite, "layer_composite", VertexStage::uv2, "matbuffer:0 colbuffer:1", "premul visibility"},
    {Prog::mat_relief, "mat_relief", VertexStage::uv2, "matbuffer:0 dstbuffer:1", "visibility bump"},
    {Prog::col_alpha_from_mat, "col_alpha_from_mat", VertexStage::uv2, "matbuffer:0 colbuffer:1", ""},
    {Prog::mask_by_mat, "mask_by_mat", VertexStage::uv2, "dbuffer:0 matbuffer:1", ""},
    {Prog::overflow_glow, "overflow_glow", VertexStage::uv2, "colBuffer:0", ""},
    {Prog::gauss_blur, "gauss_blur", VertexStage::uv2, "colBuffer:0", "direction ksize kernel offset"},
    {Prog::sharpen, "sharpen", VertexStage::uv2, "oldBuffer:0", "offset strength"},
    {Prog::dither8, "dither8", VertexStage::uv2, "dBuffer:0", ""},
    {Prog::uv_lookup, "uv_lookup", VertexStage::uv2, "colBuffer:0 vecBuffer:1", ""},
    {Prog::uv_lookup_filtered, "uv_lookup_filtered", VertexStage::uv2, "colBuffer:0 vecBuffer:1", "offset"},
    {Prog::polygon_parity, "polygon_parity", VertexStage::uv2, "buffer:0", ""},
    {Prog::depth_fade, "depth_fade", VertexStage::distort, "", "front"},
    {Prog::mat_excess, "mat_excess", VertexStage::uv2, "matbuffer:0", ""},
    {Prog::mat_with_height, "mat_with_height", VertexStage::uv2, "matbuffer:0 htbuffer:1", ""},

    // canvas texture, filters and the GUI's programs
    {Prog::ring, "ring", VertexStage::uv2, "", "thickness"},
    {Prog::alpha_to_white, "alpha_to_white", VertexStage::uv2, "colbuffer:0", ""},
    {Prog::canvas_weave, "canvas_weave", VertexStage::uv2, "", "ratio size brisize brisize_cmp"},
    {Prog::height_to_normal, "height_to_normal", VertexStage::uv2, "colBuffer:0", "offset"},
    {Prog::light_normals, "light_normals", VertexStage::uv2, "colBuffer:0",
     "glossiness depth ratio offset lpos lcol ambcol"},
    {Prog::blur9_h, "blur9_h", VertexStage::uv2, "oldBuffer:0", "offset kcenter kernel"},
    {Prog::blur9_v, "blur9_v", VertexStage::uv2, "oldBuffer:0", "offset kcenter kernel"},
    {Prog::clamp_to_circle, "clamp_to_circle", VertexStage::uv2, "dbuffer:0", "center radius ratio"},
    {Prog::bright_dark, "bright_dark", VertexStage::uv2, "colbuffer:0", "bri drk"},
    {Prog::alpha_to_normal, "alpha_to_normal", VertexStage::uv2, "dbuffer:0", "offset"},
    {Prog::glass, "glass", VertexStage::uv4, "nrmbuffer:0 colbuffer:1",
     "ri ratio specular transparency wh_relative eye pos reach lpos"},
    {Prog::shrink4, "shrink4", VertexStage::uv2, "oldBuffer:0", "offset"},
    {Prog::color_wheel, "color_wheel", VertexStage::uv2, "", "midpoint gamma alpha"},

    // frame bookkeeping
    {Prog::nonzero_texels, "nonzero_texels", VertexStage::uv2, "buffer:0", "channels"},
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
