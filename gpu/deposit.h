#pragma once
// The brush's deposit into a layer: blend states of the colour and amount
// passes, the choice of the deposit program, the brush-area tools and the
// uniforms of the picture warps. Programs are in the "brush deposit" section
// of the catalogue.
#include "platform/gl.h"

namespace gpu {

// Paint sub-modes of the "=" cycler.
enum class PaintSubmode { flat = 0, over = 1, add = 2 };

// Blending of the colour pass: sub-modes 0 and 1 lay colour over, 2 adds it;
// coverage always accumulates over.
void colour_pass_blend(int paint_submode);
// Blending of the amount pass: removing (erase and average tools), replacing
// towards the brush amount (sub-mode 0) or accumulating.
void amount_pass_blend(bool removing, int paint_submode);

// What the stroke knows when it picks the program that rasterises its segments.
struct DepositChoice {
  bool canvas_grain = false;  // canvas shown with strength above 0, or forced
  bool image = false;         // a brush image is in use
  bool image_has_colour = false;
  float deposit_value = 0;  // the amount for the amount pass, -1 for colour, 0 for motion
  int channel = 0;          // non-zero: the image's amount itself is deposited
};

struct DepositProgram {
  bool none = true;  // fixed-function drawing
  int prog = 0;      // a gpu::Prog value when not none
  int mode = 0;
};

DepositProgram choose_deposit_program(const DepositChoice& c);

// Textures and values a deposit pass binds.
struct DepositInputs {
  GLuint canvas_height = 0;  // grain height
  GLuint undo_mat = 0;       // the amount at the stroke's start
  GLuint image_col = 0, image_mat = 0;
  float velo_x = 0, velo_y = 0;  // (-dx, dy)
};

// Binds the chosen program with its textures and uniforms, or unbinds every
// program and texture for fixed-function drawing.
void bind_deposit(const DepositChoice& c, const DepositInputs& in);

// The brush-area tool at (x, y) with radius r (canvas pixels): a local blur
// (sharpen when `sharpen`) of the work colour and amount inside the brush
// disc. `colour` and `amount` are the layer's buffers (amount may be 0 in warp
// mode); `scratch_colour` and `scratch_amount` are canvas-size buffers used as
// scratch.
struct AreaTarget {
  GLuint colour_fbo, colour_tex, amount_fbo, amount_tex;
  GLuint scratch_colour_fbo, scratch_colour_tex, scratch_amount_fbo, scratch_amount_tex;
};
void brush_area_tool(float x, float y, float r, bool sharpen, const AreaTarget& t);

// The square of side r around (x, y) with (u, v) = (0, 0) at its top left,
// as the area programs expect.
void area_quad(float x, float y, float r);

// Uniforms of quad_warp for the corners pa (picture u 0, v 0), pb (0, 1),
// pc (1, 1), pd (1, 0) in canvas texture coordinates and the picture
// rectangle xuv = (u start, u extent, v start, v extent). Binds the program.
void set_quad_warp(const float pa[2], const float pb[2], const float pc[2], const float pd[2], const float xuv[4]);

}  // namespace gpu
