#pragma once
// The stroke routine's brush types other than the bristle brush. Internal to
// brush/: the stroke calls these once per pass with the target bound.
#include "brush/stroke.h"
#include "platform/gl.h"

// One call of the stroke routine: one pass of one frame.
struct StrokeCall {
  float x = 0, y = 0;
  float size = 15, base_size = 15;
  float dx = 0, dy = 0;
  float amount = 1;
  int type = 8;
  float length_value = 0;  // the stroke's seed
  float density = 0.25f;   // (BRUSH:BRISTLES)^2
  float bristle_size = 0;  // (BRUSH:BRI.SIZE)^2
  int pass = 0;            // 0 colour, 1 amount, 2 amount removed
  float pen_factor = 1;
  float colour[4] = {1, 1, 1, 1};  // vertex colour of the pass
  vec2d direction{0, 1};           // the stroke direction, unit
  float tilt_altitude = 0;
  bool first_frame = false;
  const StrokeInput* in = nullptr;
};

// The image the stroke deposits through: its own image while "use" is on and
// the image is still in the list; null otherwise.
const BrushImageRef* stroke_image(const StrokeInput& in);

// Bias factor k of the scatter brushes' footprint cut.
float scatter_bias_factor(float bias);
// The quad of brush type 0: a band of width 2s from s behind the previous
// position to s beyond (x, y), inside an open glBegin(GL_QUADS). Texture u
// runs across the band and v along it; `turned` swaps them.
void motion_quad(float x, float y, float s, float dx, float dy, bool turned = false);

// Makes the buffers brush type `type` draws from, before a pass binds its
// target (making a buffer binds its framebuffer).
void prepare_brush_buffers(int type);

// A 1 x 1 paint amount of 1: the bristle motion's weight without a brush image.
GLuint full_amount();

void draw_dab_brush(const StrokeCall& c);       // types 0 to 4
void draw_textured_brush(const StrokeCall& c);  // type 5
void draw_ribbon_brush(const StrokeCall& c);    // types 6 and 7
void draw_loaded_brush(const StrokeCall& c);    // type 9
// Type 9 picks up the paint under it after both passes of a frame.
void loaded_brush_pick_up(const StrokeCall& c, GLuint layer_col, GLuint layer_mat);
// Types 6 and 7 remember the end of this frame's strip after both passes.
void ribbon_advance(const StrokeCall& c);
