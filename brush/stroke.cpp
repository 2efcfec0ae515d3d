#include "brush/stroke.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "brush/bristle.h"
#include "brush/brush_settings.h"
#include "brush/brush_types.h"
#include "brush/laid_region.h"
#include "gpu/buffer.h"
#include "gpu/canvas_buffers.h"
#include "gpu/deposit.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "gpu/simulation.h"
#include "layers/layer.h"
#include "layers/layer_stack.h"

StrokeState stroke;

namespace {

float sq(float v) {
  return v * v;
}

// One frame of bristle motion (type 8), shared by the passes of the frame.
void move_bristles(const StrokeInput& in, bool first) {
  const BrushSettings& s = brush_settings;
  BristleFrame& f = bristles.frame;
  const float R = in.size * 0.5f / (1 + s.oscillate);
  f.bias = s.bias;
  f.oscillate = s.oscillate;
  f.osc_chaos = s.osc_chaos;
  f.fluidity = in.fluidity;
  f.stroke_direction = in.direction;
  f.rotation = s.rotation;
  f.stroke_pressure = sq(in.pressure);
  f.delta_x = in.dx;
  f.delta_y = in.dy;
  bristle& proto = *bristles.list.front();
  if (first) {
    bristles.count = int(1 + sq(s.bristles) * 4000);
    f.radius = f.old_radius = R;
    proto.init(bristles.list, in.x, in.y);
  }
  f.old_radius = f.radius;
  f.radius = R;
  proto.draw_setup(bristles.list, in.x, in.y);
}

// Colours of the bristle segments for one pass: `end_alpha` at the segment
// end, the previous frame's at its start unless the pointer hardly moved.
void colour_bristles(const StrokeCall& c, float end_alpha, bool moved) {
  float& last = stroke.last_alpha[c.pass];
  const float start_alpha = (moved && !c.first_frame) ? last : end_alpha;
  last = end_alpha;
  int n = 0;
  for (bristle* b : bristles.array) {
    if (!b) continue;
    if (n++ > bristles.count) break;
    if (c.pass == 0) {
      // A slight per-hair shade keeps a colour stroke from looking flat.
      const float shade = 1 + 0.06f * b->offset.x * b->offset.y + 0.03f * b->offset.x;
      for (int i = 0; i < 3; ++i) b->ocol[i] = b->col[i] = c.colour[i] * shade;
    } else {
      b->ocol[0] = b->col[0] = c.amount;
      b->ocol[1] = b->col[1] = b->ocol[2] = b->col[2] = 0;
    }
    b->ocol[3] = start_alpha;
    b->col[3] = end_alpha;
  }
}

void draw_bristle_brush(const StrokeCall& c, GLuint undo_mat) {
  const StrokeInput& in = *c.in;
  const float moved_px = std::hypot(in.dx * float(gpu::geometry.width), in.dy * float(gpu::geometry.height));
  const BrushImageRef* image = stroke_image(in);
  if (image && in.image_colour && c.pass == 0) {
    // The image's own colours land, as a dab stamps them.
    StrokeCall white = c;
    std::fill(white.colour, white.colour + 3, 1.0f);
    colour_bristles(white, c.colour[3], moved_px >= 2);
  } else {
    colour_bristles(c, c.colour[3], moved_px >= 2);
  }
  gpu::DepositChoice choice;
  choice.canvas_grain = (in.canvas_grain || (image && in.image_grain)) && in.canvas_height != 0;
  choice.image = image != nullptr;
  // The amount passes carry the amount in red: only the colour pass takes the
  // image's colour.
  choice.image_has_colour = image && in.image_colour && c.pass == 0;
  choice.deposit_value = c.pass == 0 ? -1 : c.amount;
  gpu::DepositInputs inputs;
  inputs.canvas_height = in.canvas_height;
  inputs.undo_mat = undo_mat;
  if (image) {
    inputs.image_col = image->col;
    inputs.image_mat = image->mat;
  }
  inputs.velo_x = -in.dx;
  inputs.velo_y = in.dy;
  gpu::bind_deposit(choice, inputs);
  const int budget = bristle_budget(bristles.frame.radius, brush_settings.bias, bristles.count);
  stroke.bristles_drawn = bristles.list.front()->draw_col(bristles.list, budget);
  glUseProgram(0);
  for (int unit = 3; unit >= 0; --unit) gpu::bind_texture(unit, 0);
}

void run_pass(const StrokeCall& c, GLuint undo_mat) {
  glColor4f(c.colour[0], c.colour[1], c.colour[2], c.colour[3]);
  switch (c.type) {
    case 8: draw_bristle_brush(c, undo_mat); break;
    case 5: draw_textured_brush(c); break;
    case 6:
    case 7: draw_ribbon_brush(c); break;
    case 9: draw_loaded_brush(c); break;
    default: draw_dab_brush(c); break;
  }
  glUseProgram(0);
}

// The brush's motion into the velocity field and its wetness, for the
// simulation to carry on.
void motion_and_wetness(const StrokeInput& in, float R) {
  const gpu::Geometry& g = gpu::geometry;
  gpu::CanvasBuffers& cb = gpu::canvas_buffers;
  const bool smudge = in.tool == ToolMode::smudge;
  const float p = sq(in.pressure);
  const float falloff = (1 + brush_settings.bias) * 0.5f;
  const bool moves_field =
      (in.fluidity < 1 || smudge) && in.tool != ToolMode::average && !(in.warp_mode && in.tool == ToolMode::erase);
  if (moves_field && cb.velocity[0].framebuffer()) {
    const float k = smudge ? 0.5f + 0.5f * in.fluidity : 1 - in.fluidity;
    cb.velocity[0].bind_target();
    gpu::set_projection(g.width, g.height);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gpu::program(gpu::Prog::dab_soft).use().set("falloff", falloff);
    glColor4f(k * in.dx, -k * in.dy * float(g.height) / float(g.width), 0, p > 0 ? p * p : p);
    gpu::area_quad(in.x, in.y, 2 * R);
    // A step of the field is the brush's motion times k, in pixels.
    gpu::note_field_written(gpu::PixelRect::around(in.x - R, in.y - R, in.x + R, in.y + R).grown(1),
                            std::abs(k) * std::hypot(in.dx * float(g.width), in.dy * float(g.height)));
    if (brush_settings.brush_type == 8) {
      // The hairs' lines reach beyond the dab.
      gpu::note_field_written(bristle_region(), std::abs(k) * bristle_reach());
      // Each hair's motion counts as far as the paint it carries.
      gpu::program(gpu::Prog::mat_to_alpha_rotated).use();
      const BrushImageRef* image = stroke_image(in);
      const GLuint carried = image ? image->mat : stroke.motion_amount;
      gpu::bind_texture(0, carried ? carried : full_amount());
      glColor4f(1, 1, 1, 1);
      const int budget = bristle_budget(bristles.frame.radius, brush_settings.bias, bristles.count);
      bristles.list.front()->draw_vec(bristles.list, budget);
      gpu::bind_texture(0, 0);
    }
  }
  if ((in.tool == ToolMode::paint || smudge) && cb.wetness.framebuffer()) {
    cb.wetness.bind_target();
    gpu::set_projection(g.width, g.height);
    glEnable(GL_BLEND);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    gpu::program(gpu::Prog::dab_soft).use().set("falloff", falloff);
    glColor4f(1, 0, 0, 1);
    gpu::area_quad(in.x, in.y, 2 * R);
    gpu::note_wetness_written(gpu::PixelRect::around(in.x - R, in.y - R, in.x + R, in.y + R).grown(1));
  }
  glUseProgram(0);
}

// The ribbon's last edges (types 6 and 7), and a pixel of rounding.
gpu::PixelRect ribbon_edges_region() {
  const vec2d& l = stroke.ribbon_left;
  const vec2d& r = stroke.ribbon_right;
  return gpu::PixelRect::around(std::min(l.x, r.x), std::min(l.y, r.y), std::max(l.x, r.x), std::max(l.y, r.y))
      .grown(2);
}

}  // namespace

int choose_brush_image(int mode, int count, int last, float pen_factor) {
  if (count <= 0) return -1;
  switch (mode) {
    case 0: return (last < 0 || last + 1 >= count) ? 0 : last + 1;
    case 1: return std::clamp(int(sq(pen_factor) * float(count - 1)), 0, count - 1);
    case 2: {
      int i = int(bristle_random(0, float(count) - 0.01f));
      while (count > 2 && i == last) i = int(bristle_random(0, float(count) - 0.01f));
      return i;
    }
    default: return (last >= 0 && last < count) ? last : 0;
  }
}

const BrushImageRef* stroke_image(const StrokeInput& in) {
  if (!in.use_image || stroke.image < 0 || stroke.image >= int(in.images.size())) return nullptr;
  return &in.images[std::size_t(stroke.image)];
}

void stroke_end() {
  stroke.started = false;
  stroke.ribbon_started = false;
  if (layers.active) undo_stroke_end(*layers.active);
}

void stroke_frame(const StrokeInput& in) {
  layer* l = layers.active;
  if (!l) return;
  BrushSettings& s = brush_settings;
  store_brush_type_settings();
  create_bristles();
  const gpu::Geometry& g = gpu::geometry;
  gpu::set_projection(g.width, g.height);

  // 1. Pressure squared, paint alpha, build-up.
  const float p = sq(std::clamp(in.pressure, 0.0f, 1.0f));
  float alpha = in.colour[3] * p * (s.pen_opacity ? in.opacity_factor : 1.0f);
  float build = 1 - sq(1 - s.build_up);
  const int type = s.brush_type;
  const bool first = !stroke.started;

  // 3. The undo snapshot before the first paint of a stroke, and its image.
  stroke.image_count = int(in.images.size());
  if (first) {
    undo_stroke_start(*l, in.z_held);
    stroke.image = choose_brush_image(s.image_mode, stroke.image_count, in.current_image, in.pen_factor);
  }
  if (type == 8) move_bristles(in, first);
  if (type == 9 && first) stroke.follow = corner::Create(vec2d::Create(in.x, in.y));
  if (type == 4 && first) stroke.seed = bristle_random(-1000, 1000);
  stroke.started = true;

  StrokeCall c;
  c.x = in.x;
  c.y = in.y;
  c.size = in.size;
  c.base_size = in.base_size;
  c.dx = in.dx;
  c.dy = in.dy;
  c.type = type;
  c.length_value = in.stroke_length;
  c.density = sq(s.bristles);
  c.bristle_size = sq(s.bristle_size);
  c.pen_factor = in.pen_factor;
  c.direction = in.direction;
  c.tilt_altitude = in.tilt_altitude;
  c.first_frame = first;
  c.in = &in;

  // The brush's own buffers bind their framebuffers when made: make them before
  // the passes bind the layer.
  prepare_brush_buffers(type);
  glDisable(GL_TEXTURE_2D);
  const bool removing = in.tool == ToolMode::erase || in.tool == ToolMode::average;
  // The strip of types 6 and 7 starts at the last frame's edges; type 9
  // paints where its trailing point was before it moves on.
  std::optional<gpu::PixelRect> laid;
  if (type == 6 || type == 7) {
    if (stroke.ribbon_started) laid = ribbon_edges_region();
  } else if (type == 9) {
    laid = square_region(stroke.follow.p.x, stroke.follow.p.y, in.size);
  } else if (type != 8) {
    laid = dab_region(c);
  }

  // In warp mode the brush bends the warp map through the velocity field and
  // lays nothing: paint colours written into the map would be read back as
  // texture coordinates and show some unrelated spot of the picture.
  const bool deposits = !in.warp_mode;

  // 4. Colour pass (paint and smudge).
  if (deposits && !removing) {
    glBindFramebuffer(GL_FRAMEBUFFER, l->fbo_colID());
    gpu::colour_pass_blend(s.paint_submode);
    c.pass = 0;
    c.amount = p;
    std::copy(in.colour, in.colour + 3, c.colour);
    c.colour[3] = alpha;
    run_pass(c, l->undo_mat());
  }

  // 5. Amount pass: erase and average take paint away where the brush passes.
  glBindFramebuffer(GL_FRAMEBUFFER, l->fbo_matID());
  if (removing) {
    gpu::amount_pass_blend(true, s.paint_submode);
    // The bristle brush's hairs take the paint alpha as it is (the colour's
    // alpha times the squared pressure); the dab and strip brushes remove by
    // its square.
    if (type < 8) alpha *= alpha;
    c.pass = 2;
  } else {
    gpu::amount_pass_blend(false, s.paint_submode);
    if (s.paint_submode == int(gpu::PaintSubmode::flat)) build = 2 * s.build_up;
    c.pass = 1;
  }
  if (type == 5) {
    alpha *= alpha;
    if (s.paint_submode > 0) build *= alpha;
  }
  c.amount = build;
  c.colour[0] = build;
  c.colour[1] = c.colour[2] = 0;
  c.colour[3] = alpha;
  if (deposits && alpha > 0) run_pass(c, l->undo_mat());

  if (type == 9) loaded_brush_pick_up(c, l->fbo_col(), l->fbo_mat());
  if (type == 6 || type == 7) {
    ribbon_advance(c);
    laid = ribbon_edges_region().united(laid.value_or(gpu::PixelRect{}));
  }
  if (type == 8) laid = bristle_region();

  // The brush-area tools: erase sharpens, average blurs the paint under the
  // brush, or in warp mode the warp map.
  gpu::CanvasBuffers& cb = gpu::canvas_buffers;
  if (removing && s.area_tool && cb.paint_image.framebuffer() && cb.mat_copy.framebuffer()) {
    const gpu::Buffer& colour = in.warp_mode ? cb.warp_uv : l->col;
    gpu::AreaTarget t{colour.framebuffer(),
                      colour.texture(),
                      in.warp_mode ? 0u : l->fbo_matID(),
                      l->fbo_mat(),
                      cb.paint_image.framebuffer(),
                      cb.paint_image.texture(),
                      cb.mat_copy.framebuffer(),
                      cb.mat_copy.texture()};
    gpu::brush_area_tool(in.x, in.y, in.size, in.tool == ToolMode::erase, t);
    if (laid) laid = laid->united(square_region(in.x, in.y, in.size));
  }
  stroke.laid = laid;

  motion_and_wetness(in, in.size * 0.5f);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
