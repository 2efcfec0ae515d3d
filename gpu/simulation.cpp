#include "gpu/simulation.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "gpu/buffer.h"
#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "gpu/flow_activity.h"
#include "gpu/flow_region.h"
#include "gpu/geometry.h"
#include "gpu/kernels.h"
#include "gpu/programs.h"
#include "gpu/simulation_passes.h"
#include "gpu/simulation_settings.h"

namespace gpu {
namespace {

struct SimulationState {
  float kernel_sharpness = -1;  // the sharpness `kernel` was built for; -1 none yet
  float kernel[9] = {};
  // Where velocity[0] may be non-zero and the longest step it holds, in
  // canvas pixels (infinite for a field the flow left); no rect: anywhere.
  // Valid only for the buffer and canvas size it was noted for.
  std::optional<PixelRect> field;
  float field_reach = 0;
  GLuint field_texture = 0;
  int field_w = 0, field_h = 0;
  // With a known field: where solver[0] (the pressure) may be non-zero, in
  // its texels, and where the working buffers (velocity[1], solver[1] and
  // solver[2]) may be, in canvas pixels. No rect: anywhere.
  std::optional<PixelRect> pressure;
  std::optional<PixelRect> working;
  // Where the wetness may be non-zero, in canvas pixels, for the buffer and
  // canvas size it was noted for. No rect: anywhere.
  std::optional<PixelRect> wet;
  GLuint wet_texture = 0;
  int wet_w = 0, wet_h = 0;
};

SimulationState state;

bool field_known() {
  return state.field && state.field_texture == canvas_buffers.velocity[0].texture() &&
         state.field_w == geometry.width && state.field_h == geometry.height;
}

bool wet_known() {
  return state.wet && state.wet_texture == canvas_buffers.wetness.texture() && state.wet_w == geometry.width &&
         state.wet_h == geometry.height;
}

void set_wet(const PixelRect& r) {
  state.wet = r;
  state.wet_texture = canvas_buffers.wetness.texture();
  state.wet_w = geometry.width;
  state.wet_h = geometry.height;
}

void field_cleared() {
  if (!field_known()) {
    state.pressure.reset();
    state.working.reset();
  }
  state.field = PixelRect{};
  state.field_reach = 0;
  state.field_texture = canvas_buffers.velocity[0].texture();
  state.field_w = geometry.width;
  state.field_h = geometry.height;
}

// Where the paint advection draws this frame: the whole canvas while it flows,
// else only around a brush that laid paint.
struct Placement {
  bool whole_canvas = false;
  bool region = false;
  float x = 0, y = 0, r = 0, dx = 0, dy = 0;

  bool any() const { return whole_canvas || region; }
};

Placement paint_placement(const SimulationFrame& f, const SimulationSettings& s) {
  Placement p;
  if (s.fluidity != 1.0f) {
    p.whole_canvas = true;
  } else if (f.dab) {
    p.region = true;
    p.x = f.brush_x - 0.5f * f.motion_x;
    p.y = f.brush_y - 0.5f * f.motion_y;
    p.r = f.brush_radius + std::hypot(f.motion_x, f.motion_y);
    p.dx = f.motion_x / float(geometry.width);
    p.dy = f.motion_y / float(geometry.height);
  }
  return p;
}

// The canvas pixels the placement's draws cover, and one more around for the
// rasteriser's rounding.
PixelRect placed_rect(const Placement& p) {
  const int w = geometry.width, h = geometry.height;
  if (p.whole_canvas) return {0, 0, w, h};
  const QuadCorners q = region_quad_corners(p.x, p.y, p.r, p.dx, p.dy);
  if (q.full) return {0, 0, w, h};
  return PixelRect::around(q.pos[0][0], q.pos[0][1], q.pos[2][0], q.pos[2][1]).grown(1).clipped(w, h);
}

// What of the buffers the placed draws read must be copied before they run:
// the whole canvas, or, while the field is known to hold only this frame's
// brush motion, the placed region widened by the field's longest step (the
// advection reads that far upstream) and two pixels for the linear filter.
struct Copies {
  std::optional<PixelRect> velocity;  // none: the whole canvas
  std::optional<PixelRect> paint;
};

Copies copies_for(const SimulationFrame& f, const Placement& p) {
  if (p.whole_canvas || f.whole_canvas || !field_known()) return {};
  const PixelRect placed = placed_rect(p);
  const float reach = std::max(state.field_reach, std::hypot(f.motion_x, f.motion_y));
  // A field the flow left has steps of any length.
  if (!std::isfinite(reach)) return {};
  return {placed.grown(1), placed.grown(int(std::ceil(reach)) + 2)};
}

void copy(sim::Draw& draw, GLuint from_fbo, GLuint to_fbo, const std::optional<PixelRect>& rect) {
  if (rect)
    draw.blit(from_fbo, to_fbo, *rect);
  else
    draw.blit(from_fbo, to_fbo, geometry.width, geometry.height);
}

int jacobi_steps(const SimulationSettings& s) {
  return 1 + int(14.0f * (1.0f - s.fluidity * s.fluidity));
}

PixelRect pressure_in_canvas(const PixelRect& r) {
  const CanvasBuffers& b = canvas_buffers;
  return solver_to_canvas(r, geometry.width, geometry.height, b.solver[0].width(), b.solver[0].height());
}

PixelRect canvas_in_pressure(const PixelRect& r) {
  const CanvasBuffers& b = canvas_buffers;
  return canvas_to_solver(r, geometry.width, geometry.height, b.solver[0].width(), b.solver[0].height());
}

// Below full fluidity: the canvas pixels this frame's flow can change, when
// the field and the pressure are known; none for the whole canvas.
std::optional<PixelRect> flow_work(const SimulationFrame& f, const SimulationSettings& s) {
  if (f.whole_canvas || f.warp_mode || !field_known() || !state.pressure) return std::nullopt;
  FlowSpread spread;
  spread.solver_divisor = canvas_buffers.solver_divisor;
  spread.jacobi_steps = jacobi_steps(s);
  spread.smoothing = s.fluid_sharpness != 0;
  spread.curls = s.fluid_curls > 0;
  const int w = geometry.width, h = geometry.height;
  const PixelRect r = flow_work_rect(*state.field, pressure_in_canvas(*state.pressure), spread).clipped(w, h);
  if (r.covers(w, h)) return std::nullopt;
  return r;
}

// Outside the work the passes read the working buffers as the whole-canvas
// passes would have left them: zero. Clears what earlier frames left there.
void clear_working() {
  CanvasBuffers& b = canvas_buffers;
  glClearColor(0, 0, 0, 0);
  const std::optional<PixelRect>& w = state.working;
  if (w && w->empty()) return;
  {
    sim::bind_target(b.velocity[1].framebuffer());
    ScopedScissor sc(w, 1, geometry.width, geometry.height);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  const int sw = b.solver[0].width(), sh = b.solver[0].height();
  const std::optional<PixelRect> reduced = w ? std::optional(canvas_in_pressure(*w)) : std::nullopt;
  for (int i : {1, 2}) {
    glBindFramebuffer(GL_FRAMEBUFFER, b.solver[i].framebuffer());
    glViewport(0, 0, sw, sh);
    ScopedScissor sc(reduced, 1, sw, sh);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  set_projection(geometry.width, geometry.height);
}

void draw_placed(sim::Draw& draw, const Placement& p) {
  if (p.whole_canvas)
    draw.full();
  else
    draw.region(p.x, p.y, p.r, p.dx, p.dy);
}

// The paint the flow sees: in warp mode the amount as shown through the map
// (written by the display), so the map can carry paint into empty canvas.
GLuint flow_amount(const SimulationFrame& f) {
  return f.warp_mode ? canvas_buffers.overlay_mat.texture() : f.paint.mat_tex;
}

// Step 1: the frame's working field, bent by the canvas grain and the paint.
// Only where this frame's passes read it.
void deflect_velocity(sim::Draw& draw, const SimulationFrame& f, const Placement& p, const Copies& c) {
  CanvasBuffers& b = canvas_buffers;
  if (canvas_settings.strength > 0 && canvas_settings.show) {
    sim::bind_target(b.velocity[1].framebuffer());
    glDisable(GL_BLEND);
    program(Prog::velocity_deflect).use();
    bind_texture(0, b.velocity[0].texture());
    bind_texture(1, b.canvas_normals.texture());
    bind_texture(2, flow_amount(f));
    draw_placed(draw, p);
  } else {
    copy(draw, b.velocity[0].framebuffer(), b.velocity[1].framebuffer(), c.velocity);
  }
}

// Step 3: the paint amount and colour along the working field, in one step or
// three steps of a third.
void advect_paint(sim::Draw& draw, const SimulationFrame& f, const Placement& p, const Copies& c, float softness,
                  bool substeps) {
  CanvasBuffers& b = canvas_buffers;
  const float ratio = geometry.aspect;
  const float power = substeps ? 0.333f : 1.0f;
  glClearColor(0, 0, 0, 0);
  copy(draw, f.paint.col_fbo, b.scratch.framebuffer(), c.paint);
  copy(draw, f.paint.mat_fbo, b.mat_copy.framebuffer(), c.paint);
  glDisable(GL_BLEND);
  bind_texture(0, b.velocity[1].texture());

  // The region draws use the same aspect ratio as the whole-canvas ones, so
  // amount and colour move the same distance on both axes.
  const float chroma = simulation_settings.smudge_chroma > 0 ? simulation_settings.smudge_chroma : 0.0f;
  const Program& mat_prog =
      program(Prog::advect_mat).use().set("ratio", ratio).set("power", power).set("softness", softness);
  const Program& col_prog = program(Prog::advect_chroma)
                                .use()
                                .set("ratio", ratio)
                                .set("power", power)
                                .set("softness", softness)
                                .set("chroma", chroma);
  auto amount = [&](GLuint from_mat, GLuint to_fbo) {
    sim::bind_target(to_fbo);
    mat_prog.use();
    bind_texture(1, from_mat);
    draw_placed(draw, p);
  };
  // The colour mixes by the amounts the matching amount step started from.
  auto colour = [&](GLuint from_col, GLuint from_mat, GLuint to_fbo) {
    sim::bind_target(to_fbo);
    col_prog.use();
    bind_texture(1, from_col);
    bind_texture(2, from_mat);
    draw_placed(draw, p);
  };
  amount(b.mat_copy.texture(), f.paint.mat_fbo);
  colour(b.scratch.texture(), b.mat_copy.texture(), f.paint.col_fbo);
  if (substeps) {
    amount(f.paint.mat_tex, b.mat_copy.framebuffer());
    colour(f.paint.col_tex, f.paint.mat_tex, b.scratch.framebuffer());
    amount(b.mat_copy.texture(), f.paint.mat_fbo);
    colour(b.scratch.texture(), b.mat_copy.texture(), f.paint.col_fbo);
  }
}

// Step 4: in warp mode the field moves the warp map instead of the paint.
void advect_warp(sim::Draw& draw, const Placement& p, float softness) {
  CanvasBuffers& b = canvas_buffers;
  draw.blit(b.warp_uv.framebuffer(), b.velocity[2].framebuffer(), geometry.width, geometry.height);
  sim::bind_target(b.warp_uv.framebuffer());
  glDisable(GL_BLEND);
  program(Prog::advect_soft).use().set("ratio", geometry.aspect).set("softness", softness);
  bind_texture(0, b.velocity[1].texture());
  bind_texture(1, b.velocity[2].texture());
  draw_placed(draw, p);
}

// Step 6: wetness moves with the paint, spreads and dries. It moves only
// inside `work`, if there is one, and spreads and dries only where it is not
// zero (zero stays zero), a texel further each frame.
void advect_wetness(sim::Draw& draw, bool warp_mode, float softness, float d, const std::optional<PixelRect>& work) {
  CanvasBuffers& b = canvas_buffers;
  const int w = geometry.width, h = geometry.height;
  std::optional<PixelRect> wet;
  if (work && wet_known()) {
    // A texel more for the filter's rounding of the neighbour offsets.
    wet = state.wet->united(*work).grown(2).clipped(w, h);
    if (wet->covers(w, h)) wet.reset();
  }
  // A new canvas is wet everywhere (its gate open) until the drying toggle
  // dries it: then there is no need to look again.
  const bool measure = wet || !wet_known() || !state.wet->covers(w, h);
  // Where the field is zero the advection leaves the target as it is. The
  // spreading reads a texel around, two where the filter rounds.
  if (wet)
    draw.blit(b.wetness.framebuffer(), b.scratch.framebuffer(), wet->grown(2));
  else
    draw.blit(b.wetness.framebuffer(), b.scratch.framebuffer(), w, h);
  sim::bind_target(b.scratch.framebuffer());
  glDisable(GL_BLEND);
  if (warp_mode)
    program(Prog::advect_power).use().set("power", 1.0f).set("ratio", geometry.aspect);
  else
    program(Prog::advect_mat).use().set("power", 1.0f).set("ratio", geometry.aspect).set("softness", softness);
  bind_texture(0, b.velocity[1].texture());
  bind_texture(1, b.wetness.texture());
  {
    ScopedScissor sc(work, 1, w, h);
    draw.full();
  }

  sim::Draw spread{draw.stats, wet};
  sim::bind_target(b.wetness.framebuffer());
  program(Prog::jacobi_diffuse)
      .use()
      .set("offset", geometry.texel_x, geometry.texel_y)
      .set("spread", d)
      .set("spdiff", float(1.0 + 4.0 * d + std::pow(double(d), 10.0)));
  bind_texture(0, b.scratch.texture());
  bind_texture(1, b.scratch.texture());
  {
    ScopedScissor sc(wet, 1, w, h);
    spread.full();
  }
  glUseProgram(0);
  if (measure) set_wet(nonzero_box(b.wetness, wet.value_or(PixelRect{0, 0, w, h}), 4));
}

// Step 7: where paint is, the field is blurred with a kernel that widens with
// "FLUID:SHARPNESS".
void smooth_velocity(sim::Draw& draw, const SimulationFrame& f, float sharpness) {
  if (sharpness == 0) return;
  CanvasBuffers& b = canvas_buffers;
  if (sharpness != state.kernel_sharpness) {
    nine_tap_kernel(state.kernel, 9.0f * sharpness * sharpness);
    state.kernel_sharpness = sharpness;
  }
  const float* k = state.kernel;
  glDisable(GL_BLEND);
  bind_texture(1, flow_amount(f));

  sim::bind_target(b.velocity[0].framebuffer());
  program(Prog::blur9_mat_h)
      .use()
      .set("offset", geometry.texel_x)
      .set("kcenter", k[4])
      .set("kernel", k[0], k[1], k[2], k[3]);
  bind_texture(0, b.velocity[1].texture());
  draw.full();

  sim::bind_target(b.velocity[1].framebuffer());
  program(Prog::blur9_mat_v)
      .use()
      .set("offset", geometry.texel_y)
      .set("kcenter", k[4])
      .set("kernel", k[0], k[1], k[2], k[3]);
  bind_texture(0, b.velocity[0].texture());
  draw.full();
}

// Steps 11 to 14: the divergence at the solver's resolution, the pressure
// relaxation and the projection with friction, from velocity[0] into
// velocity[1]. Within `work`, and its pressure texels, when there is one.
void remove_divergence(sim::Draw& draw, const SimulationFrame& f, const SimulationSettings& s, bool drying,
                       const std::optional<PixelRect>& work) {
  CanvasBuffers& b = canvas_buffers;
  const int w = geometry.width, h = geometry.height;
  const int sw = w / b.solver_divisor, sh = h / b.solver_divisor;

  glBindTexture(GL_TEXTURE_2D, b.velocity[0].texture());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  {
    sim::Unclipped unclipped;
    glGenerateMipmap(GL_TEXTURE_2D);
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  {
    ScopedResolution reduced(sw, sh);
    ScopedScissor sc(work ? std::optional(canvas_in_pressure(*work)) : std::nullopt, 1, sw, sh);
    const float ox = 1.0f / float(sw), oy = 1.0f / float(sh);
    glDisable(GL_BLEND);
    sim::bind_target(b.solver[1].framebuffer());
    program(Prog::divergence).use().set("offset", ox, oy).set("power", s.fluid_curls);
    bind_texture(0, b.velocity[0].texture());
    draw.reduced();
    draw.gate(f.mask_active, drying, true);

    // Jacobi steps ping-pong between the pressure and a spare buffer: reading
    // the texture being drawn is undefined in GL. An odd count ends in the
    // spare, which is copied back.
    const int steps = jacobi_steps(s);
    const Buffer* from = &b.solver[0];
    const Buffer* to = &b.solver[2];
    program(Prog::jacobi_average).use().set("offset", ox, oy);
    bind_texture(0, b.solver[1].texture());
    for (int i = 0; i < steps; ++i) {
      sim::bind_target(to->framebuffer());
      bind_texture(1, from->texture());
      draw.reduced();
      std::swap(from, to);
    }
    if (from != &b.solver[0]) draw.blit(from->framebuffer(), b.solver[0].framebuffer(), sw, sh);
    sim::bind_target(b.solver[0].framebuffer());
    draw.gate(f.mask_active, drying, true);
  }
  glBindTexture(GL_TEXTURE_2D, b.velocity[0].texture());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glBindTexture(GL_TEXTURE_2D, 0);

  sim::bind_target(b.velocity[1].framebuffer());
  glDisable(GL_BLEND);
  const float fspeed = std::hypot(1.0f / float(w), 1.0f / float(h)) * 0.02f * s.drying_speed;
  program(Prog::project_velocity).use().set("offset", geometry.texel_x, geometry.texel_y).set("fspeed", fspeed);
  bind_texture(0, b.velocity[0].texture());
  bind_texture(1, b.solver[0].texture());
  draw.full();
}

// What the frame left for the next one. At full fluidity the field was just
// cleared. Below it the field and the pressure are measured where the frame
// could have left them non-zero: a zero field moves no paint next frame, and
// with no pressure to drive it (or no divergence removal) it stays zero. Warp
// mode moves the map every frame and is never settled.
void note_flow(const SimulationFrame& f, const SimulationSettings& s, const std::optional<PixelRect>& work) {
  FlowActivity& a = flow_activity;
  if (f.warp_mode) {
    flow_unknown();
    state.field.reset();
  } else if (s.fluidity >= 1.0f) {
    a.field_zero = a.settled = true;
  } else {
    const CanvasBuffers& b = canvas_buffers;
    // Outside the work both stayed zero.
    const PixelRect canvas = work.value_or(PixelRect{0, 0, geometry.width, geometry.height});
    const PixelRect field = nonzero_box(b.velocity[0], canvas);
    const PixelRect pressure = nonzero_box(b.solver[0], canvas_in_pressure(canvas));
    a.field_zero = field.empty();
    a.settled = a.field_zero && (s.fluid_curls <= 0 || pressure.empty());
    state.field = field;
    state.field_reach = field.empty() ? 0.0f : INFINITY;
    state.field_texture = b.velocity[0].texture();
    state.field_w = geometry.width;
    state.field_h = geometry.height;
    state.pressure = pressure;
    state.working = work;
  }
}

}  // namespace

SimulationStats simulate_frame(const SimulationFrame& f) {
  SimulationStats stats;
  sim::Draw draw{stats, std::nullopt};
  CanvasBuffers& b = canvas_buffers;
  const SimulationSettings& s = simulation_settings;
  const bool drying = s.drying != 0;
  const int w = geometry.width, h = geometry.height;

  // Every pass writes exact values, zeros included (a zero pressure, a closed
  // gate), which the alpha test would discard.
  glDisable(GL_ALPHA_TEST);
  glBlendEquation(GL_FUNC_ADD);
  glColor4f(1, 1, 1, 1);

  const float smudge = s.fluid_smudge;
  const float softness = float(std::sqrt(0.01 + 0.99 * double(smudge) * double(smudge)));

  // Below full fluidity the passes run only where the flow can be alive.
  const std::optional<PixelRect> work = s.fluidity < 1.0f ? flow_work(f, s) : std::nullopt;
  if (work) clear_working();
  draw.clip = work;

  // At full fluidity the field only matters where the brush laid paint this
  // frame; elsewhere the working field is never read.
  const Placement p = paint_placement(f, s);
  if (p.any()) {
    const Copies c = copies_for(f, p);
    ScopedScissor sc(work, 1, w, h);
    deflect_velocity(draw, f, p, c);
    if (f.warp_mode)
      advect_warp(draw, p, softness);
    else
      advect_paint(draw, f, p, c, softness, s.substep_mode != 0);
    stats.touched = work ? *work : placed_rect(p);
  }

  if (s.fluidity >= 1.0f) {
    // The field is rebuilt from the brush every frame: cleared where it may
    // hold motion, which includes the frame's brush region.
    std::optional<PixelRect> clear;
    if (!f.whole_canvas && field_known()) clear = p.any() ? state.field->united(placed_rect(p)) : *state.field;
    if (!clear || !clear->empty()) {
      sim::bind_target(b.velocity[0].framebuffer());
      ScopedScissor scissor(clear, 1, w, h);
      glClearColor(0, 0, 0, 0);
      glClear(GL_COLOR_BUFFER_BIT);
    }
    // The deflection may have copied the whole field into the working one.
    if (p.any()) state.working.reset();
    field_cleared();
  } else {
    if (drying) advect_wetness(draw, f.warp_mode, softness, s.drying_speed, work);
    ScopedScissor sc(work, 1, w, h);
    smooth_velocity(draw, f, s.fluid_sharpness);

    // Damping.
    sim::bind_target(b.velocity[0].framebuffer());
    glDisable(GL_BLEND);
    const float k = 1.0f - s.fluidity * s.fluidity * s.fluidity;
    sim::use_fixed_function(b.velocity[1].texture());
    glColor4f(k, k, k, 1);
    draw.full();
    draw.gate(f.mask_active, drying, false);

    // Without the divergence removal the damped field is the next frame's:
    // carrying the working field along itself would only feed a buffer the
    // next frame overwrites.
    if (s.fluid_curls > 0) {
      remove_divergence(draw, f, s, drying, work);

      // Self-advection. The output's alpha is 1, so it replaces the target.
      sim::bind_target(b.velocity[0].framebuffer());
      glDisable(GL_BLEND);
      if (f.warp_mode)
        program(Prog::advect_power).use().set("power", 1.0f).set("ratio", geometry.aspect);
      else
        program(Prog::advect).use().set("ratio", geometry.aspect);
      bind_texture(0, b.velocity[1].texture());
      bind_texture(1, b.velocity[1].texture());
      draw.full();
      draw.gate(f.mask_active, drying, false);
    }
  }

  glUseProgram(0);
  for (int unit = 2; unit >= 0; --unit) bind_texture(unit, 0);
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  glEnable(GL_ALPHA_TEST);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  set_projection(w, h);
  note_flow(f, s, work);
  return stats;
}

void clear_wetness() {
  glBindFramebuffer(GL_FRAMEBUFFER, canvas_buffers.wetness.framebuffer());
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  set_wet({});
}

void note_wetness_written(const PixelRect& where) {
  if (wet_known()) state.wet = state.wet->united(where);
}

void note_field_written(const std::optional<PixelRect>& where, float reach) {
  if (!field_known()) return;
  if (!where) {
    state.field.reset();
    return;
  }
  state.field = state.field->united(*where);
  state.field_reach = std::max(state.field_reach, reach);
}

}  // namespace gpu
