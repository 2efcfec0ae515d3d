#pragma once
// The stroke: what the frame calls every painting frame. It takes the layer's
// undo snapshot at a stroke's first frame, lays colour into the active layer's
// `col` and paint amount into its `mat` with the current brush type, writes
// the brush motion into the velocity field and wetness, and runs the
// brush-area tools of the erase and average modes.
#include <optional>
#include <span>
#include <vector>

#include "base/vec.h"
#include "gpu/dirty_region.h"
#include "platform/gl.h"

// Tool modes, as the frame derives them from the brush mode and modifiers.
enum class ToolMode { paint = 0, smudge = 1, erase = 2, average = 3 };

// A brush image's two textures, as the stroke deposits them.
struct BrushImageRef {
  GLuint col = 0;  // RGBA colour with coverage
  GLuint mat = 0;  // paint amount
};

// What the frame hands the stroke each painting frame.
struct StrokeInput {
  float x = 0, y = 0;    // smoothed stroke position, canvas pixels
  float dx = 0, dy = 0;  // its movement since the last frame divided by (W, H)
  float size = 15;       // brush size after pressure, pixels across
  float base_size = 15;  // "BRUSH:SIZE"
  float pressure = 0;    // stroke pressure 0..1, before squaring
  float opacity_factor = 1;
  vec2d direction{0, 1};  // stroke direction, unit
  ToolMode tool = ToolMode::paint;
  float stroke_length = 0;                    // the stroke's seed from the frame
  float pen_factor = 0;                       // pen value 0..1 kept by the frame
  float tilt_azimuth = 0;                     // pen tilt, degrees
  float tilt_altitude = 0;                    // 0 when the pen reports none
  bool z_held = false;                        // Z held: the stroke keeps the previous undo copy
  float colour[4] = {0.25f, 0.1f, 0.05f, 1};  // the current paint colour
  bool canvas_grain = false;                  // canvas shown with a strength above 0
  GLuint canvas_height = 0;                   // grain height texture
  float fluidity = 1;                         // "FLUIDITY"
  bool warp_mode = false;
  std::span<const BrushImageRef> images;  // the brush-image list, in its order
  int current_image = -1;                 // the image of the last stroke, or the one picked in the strip
  bool use_image = false;                 // "use": the deposit goes through the stroke's image
  bool image_colour = true;               // "col": the image's colour, else its amount stands in for it
  bool image_grain = false;               // the image lands through the grain even with the canvas hidden
};

// Stroke state, owned here; the frame reads `started` and calls stroke_end()
// when the button is released.
struct StrokeState {
  bool started = false;             // set at a stroke's first painting frame
  int image = -1;                   // the brush image of the stroke, -1 for none
  int image_count = 0;              // brush images available this frame (owned by the brush-image list)
  int bristles_drawn = 0;           // segments of the last bristle pass
  float last_alpha[3] = {0, 0, 0};  // per pass: the segment-end alpha of the last frame
  corner follow;                    // type 9: the point trailing the pointer
  float ribbon_length = 0;          // types 6 and 7: distance painted along the stroke
  vec2d ribbon_left, ribbon_right;
  bool ribbon_started = false;
  float seed = 0;  // type 4: drawn anew at each stroke's first frame
  // The paint amount the bristle motion is weighted by, read in the footprint
  // frame (a brush image's `mat`); 0: every hair carries its motion fully.
  GLuint motion_amount = 0;
  // Where the last painting frame laid or took paint, in canvas pixels; none
  // when it is not known (anywhere).
  std::optional<gpu::PixelRect> laid;
};

extern StrokeState stroke;

// One painting frame into the active layer.
void stroke_frame(const StrokeInput& in);
// The pen or button was released: the stroke ends and the layer's snapshot
// flag is cleared.
void stroke_end();

// Releases the brush types' own buffers (type 5's mask, type 8's full amount,
// type 9's load); a later stroke makes them again. Called before the GL
// context goes.
void release_brush_buffers();

// The brush image of a new stroke among `count`: mode 0 the next one, 1 by
// the pen factor, 2 at random (never the last one when there are more than
// two), 3 unchanged. Returns -1 when there are none.
int choose_brush_image(int mode, int count, int last, float pen_factor);
