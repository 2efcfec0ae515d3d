#pragma once
// The canvas-wide GPU buffers: the display image slots and the simulation and
// display work buffers. All are the canvas size unless noted and are made again
// whenever the canvas size changes.
#include <cstdint>
#include <vector>

#include "gpu/buffer.h"

namespace gpu {

struct CanvasBuffers {
  // Display image slots (RGBA16F).
  Buffer view_image;      // the finished picture as shown; mipmapped, nearest magnification
  Buffer canvas_image;    // the lit canvas (paper)
  Buffer paint_image;     // every layer lit over the canvas; mipmapped, nearest magnification
  Buffer mask;            // selection mask; alpha protects paint from flowing
  Buffer scratch;         // per-frame scratch, then the paint-thickness sum
  Buffer canvas_normals;  // canvas grain normals in rgb

  Buffer screen_copy;  // RGBA8, window client size: what the glass panels refract
  Buffer canvas_height;
  Buffer velocity[3];  // [0] persistent field, [1] working field, [2] warp copy
  Buffer canvas_source, canvas_load;
  Buffer overlay_mat, overlay_col;
  Buffer warp_uv;
  Buffer mask_view_mat, mask_view_col;
  Buffer glow_a, glow_b;  // 0.1 W x 0.1 H
  Buffer hq_target;       // 2 W x 2 H
  Buffer hq_reduced;      // hq_target averaged 2 x 2 down to the canvas size
  Buffer solver[3];       // W / s x H / s: [0] pressure, [1] divergence, [2] the relaxation's spare
  Buffer half_image;      // 0.5 W x 0.5 H
  Buffer lasso_fill;      // R16
  Buffer mat_copy;
  Buffer mask_snapshot_col, mask_snapshot_mat;
  Buffer wetness;  // starts at (0, 0, 0, 1)

  std::vector<uint8_t> readback;  // W x H x 4 bytes, for exports
  // Canvas pixels per pressure texel, at every canvas size: a divisor that
  // grows with the canvas (Int(max(W, H) / 512)) stills the flow of a
  // 2560 x 1440 canvas and blurs a 640 x 360 one into haze.
  int solver_divisor = 2;
  bool canvas_texture_dirty = true;  // the canvas texture must be rendered again
};

// Owned here; other subsystems read and render into these buffers.
extern CanvasBuffers canvas_buffers;

// Makes the image slots at the current canvas size (start-up and every resize).
void create_image_slots();
// Makes every work buffer, in the fixed order, at the current canvas size;
// `screen_w` x `screen_h` sizes the screen copy.
void create_work_buffers(int screen_w, int screen_h);
// Deletes every buffer above.
void delete_canvas_buffers();

// Deletes and makes the selection-mask snapshot pair again at the canvas size.
void recreate_mask_snapshots();

}  // namespace gpu
