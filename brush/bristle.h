#pragma once
// The hairs of the bristle brush. Each bristle has a fixed place in the brush
// footprint, follows the brush centre with its own lag and, per frame, yields
// one segment from where its tip was to where it is now. The stroke sets the
// segment colours and draws every segment in one pass of a deposit program.
#include <cstdint>
#include <memory>
#include <vector>

#include "base/vec.h"

class bristle;
using bristle_list = std::vector<std::unique_ptr<bristle>>;

// One segment end as it goes to the GPU: colour, (footprint x, footprint y,
// canvas x / W, canvas y / H) and position in canvas pixels.
struct bristle_vertex {
  float col[4];
  float uv[4];
  float pos[2];
};

class bristle {
 public:
  vec2d opos;                    // brush centre of the previous frame (canvas pixels)
  vec2d pos;                     // brush centre of this frame, with this bristle's oscillation
  vec2d topos;                   // tip of the previous frame: the segment start
  vec2d tpos;                    // tip of this frame: the segment end
  vec2d offset;                  // place in the footprint, within the unit disc (or the biased square)
  vec2d ovel;                    // vel of the previous frame
  float ocol[4] = {0, 0, 0, 0};  // colour at the segment start
  float col[4] = {0, 0, 0, 0};   // colour at the segment end
  vec2d oaccu_v;                 // brush direction of the previous frame
  vec2d vel;                     // tip displacement of this frame before the lag
  float length = 0;              // oscillation phase
  float size = 0;                // thickness; the prototype's sets the line width of the set
  float opress = 0, press = 0;
  float height = 0;
  float elastic = 0;
  float xtra_offset = 0;  // lag in [0, 1)
  int age = 0;            // frames since init

  // A new bristle at v appended to list.
  static bristle* Create(bristle_list& list, const vec2d& v, float length, float size, float press);

  // The operations on the bristle array; called on the prototype bristle.
  void init(bristle_list& list, float x, float y);
  void draw_setup(bristle_list& list, float x, float y);
  // Segments with their colours: lines, or points for segments under a pixel.
  // Draws at most max + 1 bristles; returns how many segments were drawn.
  int draw_col(bristle_list& list, int max);
  // The same, always as lines.
  int draw_smear(bristle_list& list, int max);
  // Random short pieces of the first max segments, coloured with the motion,
  // for the velocity field.
  int draw_vec(bristle_list& list, int max);

  // One spring step of this bristle towards opos + (x, y) (not used by strokes).
  void eval(float x, float y);
  // This bristle as a quad along its velocity.
  void draw_streak();
};

// Inputs the bristles read each frame, written by the stroke.
struct BristleFrame {
  float radius = 7.5f;      // R: brush size x 0.5 / (1 + oscillate)
  float old_radius = 7.5f;  // R0: the radius of the previous frame
  vec2d stroke_direction{0, 1};
  float rotation = 0;  // degrees added to the stroke direction
  float stroke_pressure = 0;
  float delta_x = 0, delta_y = 0;  // pointer motion / (W, H)
  float bias = 0, oscillate = 0, osc_chaos = 0;
  float fluidity = 1;
  float pen_z = 0;  // eval's third component, kept by the frame
};

// The application's bristles.
struct BristleState {
  bristle_list list;            // the 4000 made at start-up
  std::vector<bristle*> array;  // the current stroke's bristles, rebuilt by init
  int count = 1;                // the bristle count set at the stroke's first frame
  vec2d direction{0, 1};        // brush direction, unit
  BristleFrame frame;
  std::vector<bristle_vertex> vertices;  // reused by the drawing calls
};

extern BristleState bristles;

// Makes the start-up set of 4000 bristles (once; later calls do nothing).
void create_bristles();

// Uniform float in [lo, hi) from the application's seeded generator.
float bristle_random(float lo, float hi);

// The drawing budget: Int(Min((2 + 2R)^(2 - 0.25 |bias|), count)).
int bristle_budget(float radius, float bias, int count);
