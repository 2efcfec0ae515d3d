#pragma once
// The frame's display: every layer lit as relief paint over the lit canvas
// into paint_image, glow, the copy (dithered) into view_image with the lasso on
// top, and the draw of view_image into the window through the view transform.
#include <array>
#include <functional>
#include <optional>
#include <span>

#include "gpu/dirty_region.h"
#include "platform/gl.h"

namespace gpu {

// One layer as the display sees it. The layer stack fills these in stack
// order (bottom first); the textures are the undo copies while the layer's
// undo state is shown.
struct DisplayLayer {
  GLuint col_tex = 0, mat_tex = 0;  // colour (RGBA16F) and paint amount (R32F)
  GLuint col_fbo = 0, mat_fbo = 0;  // their framebuffers
  unsigned char style = 0;          // 0 normal, 1 additive, 2 coverage-weighted multiply
  bool hidden = false;
  bool active = false;
  float bump = 0.1f, glossiness = 0.5f, diffusion = 0.1f, metallic = 0;
  float opacity = 1, visibility = 1;
  float color[3] = {1, 1, 1};  // tint
  float posx = 0, posy = 0;    // content offset in canvas pixels
};

// How the lasso is drawn this frame.
enum class LassoKind { closed_loop, closed_loop_alt, open_strip };

struct DisplayInputs {
  bool warp_mode = false;
  bool mask_view = false;        // a selection mask is active: the active layer shows its mask-time state inside it
  bool placing_picture = false;  // the active layer also shows overlay_mat / overlay_col
  std::span<const std::array<float, 2>> lasso;  // lasso points in canvas pixels; empty: none
  LassoKind lasso_kind = LassoKind::closed_loop;
  bool lasso_mask_mode = false;  // the lasso outlines the selection mask in force (drawn brighter)
  float zoom = 1;                // view zoom, for the lasso's line width
  // Draws the perspective guide over view_image (bound, canvas projection),
  // so the shown picture has it and exports do not; empty when no guide is
  // shown.
  std::function<void()> perspective_guide;
  // Only the active layer's paint changed since the last display, inside this
  // rectangle of canvas pixels: the display redoes that part and keeps the
  // rest. None redoes everything.
  std::optional<PixelRect> changed;
};

// The rectangle of canvas pixels the display redoes for `in.changed`: what a
// change there can reach through the lighting's neighbours and the high
// quality's doubling, averaging and sharpening. None for the whole canvas
// (no rectangle, or a layer setting or display pass that moves or spreads
// pixels: offsets, mirrors, glow, warp, mask view, picture placing, lasso,
// guide).
std::optional<PixelRect> display_region(std::span<const DisplayLayer> layers, const DisplayInputs& in);

// Sets the blend state for compositing a layer of `style` and, when
// `paint_display` is current, its `premul` uniform.
void apply_blend_style(unsigned char style, bool set_premul);

// Runs the display sequence into view_image. Rebuilds the canvas texture
// first when canvas_buffers.canvas_texture_dirty is set. Returns the canvas
// pixels it redid.
PixelRect render_display(std::span<const DisplayLayer> layers, const DisplayInputs& in);

struct ViewTransform {
  float zoom = 1;
  float offset_x = 0, offset_y = 0;  // screen position of canvas pixel (0, 0)
  float angle = 0;                   // degrees about the rotation centre; positive turns clockwise
  float centre_x = 0, centre_y = 0;  // rotation centre in screen pixels
  int screen_w = 0, screen_h = 0;    // client area
  bool after_rebuild = false;        // the canvas was just made again: magnify linearly
  // The picture changed only where the window is redrawn, and no pixel is
  // minified (zoom 1 or more, no turn): its smaller levels are not read.
  bool skip_mipmaps = false;
};

// Draws view_image into the currently bound framebuffer (the window) at the
// view rectangle; clears it to the background colour first.
void draw_view(const ViewTransform& t);

// The client pixels (y down) where the picture of canvas rectangle `r` lies
// in the window, with the magnification's neighbours around it.
PixelRect screen_region(const ViewTransform& t, const PixelRect& r);

}  // namespace gpu
