#pragma once
// The procedural canvas under the paint: height from noise, weave or a loaded
// picture, its normals (canvas_normals) and the lit bare canvas
// (canvas_image). Settings come from gpu::canvas_settings.

namespace gpu {

// Builds height, normals and the lit canvas from the current settings and
// clears canvas_buffers.canvas_texture_dirty.
void build_canvas_texture();

// Lights canvas_normals into canvas_image (the doubled-size path), or fills
// canvas_image with the paper colour when the canvas is not shown.
void light_canvas();

}  // namespace gpu
