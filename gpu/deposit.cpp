#include "gpu/deposit.h"

#include <cmath>

#include "gpu/buffer.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"

namespace gpu {

void colour_pass_blend(int paint_submode) {
  glEnable(GL_BLEND);
  if (paint_submode == int(PaintSubmode::add))
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  else
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
}

void amount_pass_blend(bool removing, int paint_submode) {
  glEnable(GL_BLEND);
  if (removing)
    glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_ALPHA);
  else if (paint_submode == int(PaintSubmode::flat))
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  else
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

DepositProgram choose_deposit_program(const DepositChoice& c) {
  DepositProgram p;
  if (c.canvas_grain && c.image) {
    p.none = false;
    p.prog = int(Prog::bristle_deposit);
    // Only the colour pass takes the image's colour: the amount pass carries
    // the amount in red and the motion pass a velocity, which a colour would
    // distort.
    p.mode = (c.deposit_value < 0 && c.image_has_colour) ? 0 : 2;
  } else if (c.canvas_grain) {
    p.none = false;
    p.prog = int(Prog::grain_catch);
  } else if (c.image) {
    p.none = false;
    p.prog = int(Prog::image_deposit);
    p.mode = c.channel != 0 ? 1 : (c.image_has_colour ? 0 : 2);
  }
  return p;
}

void bind_deposit(const DepositChoice& c, const DepositInputs& in) {
  const DepositProgram p = choose_deposit_program(c);
  glUseProgram(0);
  bind_texture(0, 0);
  bind_texture(1, 0);
  if (p.none) return;
  const Geometry& g = geometry;
  const Program& prog = program(Prog(p.prog)).use();
  const GLuint image_colour = c.image_has_colour ? in.image_col : in.image_mat;
  switch (Prog(p.prog)) {
    case Prog::bristle_deposit:
      bind_texture(0, in.canvas_height);
      bind_texture(1, in.undo_mat);
      bind_texture(2, image_colour);
      bind_texture(3, in.image_mat);
      prog.set("offset", g.texel_x, g.texel_y).set("velo", in.velo_x, in.velo_y).set_int("mode", p.mode);
      break;
    case Prog::grain_catch:
      bind_texture(0, in.canvas_height);
      bind_texture(1, in.undo_mat);
      prog.set("offset", g.texel_x, g.texel_y).set("velo", in.velo_x, in.velo_y);
      break;
    default:
      bind_texture(0, in.image_mat);
      bind_texture(1, image_colour);
      prog.set_int("mode", p.mode);
      break;
  }
}

void area_quad(float x, float y, float r) {
  const float h = 0.5f * r;
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(x - h, y - h);
  glTexCoord2f(1, 0);
  glVertex2f(x + h, y - h);
  glTexCoord2f(1, 1);
  glVertex2f(x + h, y + h);
  glTexCoord2f(0, 1);
  glVertex2f(x - h, y + h);
  glEnd();
}

void brush_area_tool(float x, float y, float r, bool sharpen, const AreaTarget& t) {
  const Geometry& g = geometry;
  const float W = float(g.width), H = float(g.height);
  const float area[4] = {x / W - 0.5f * r / W, 1 - y / H + 0.5f * r / H, r / W, r / H};
  const float spread = sharpen ? 0.005f : 0.5f;
  const Program& filter = program(sharpen ? Prog::area_sharpen : Prog::area_diffuse);
  set_projection(g.width, g.height);
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);

  const auto filter_into = [&](GLuint target_fbo, GLuint source_tex, float spdiff) {
    glBindFramebuffer(GL_FRAMEBUFFER, target_fbo);
    filter.use()
        .set("area", area[0], area[1], area[2], area[3])
        .set("offset", g.texel_x, g.texel_y)
        .set("spread", spread)
        .set("spdiff", spdiff);
    bind_texture(0, source_tex);
    area_quad(x, y, r);
  };
  const auto copy_back = [&](GLuint target_fbo, GLuint scratch_tex) {
    glBindFramebuffer(GL_FRAMEBUFFER, target_fbo);
    program(Prog::area_copy).use().set("area", area[0], area[1], area[2], area[3]);
    bind_texture(0, scratch_tex);
    area_quad(x, y, r);
  };

  filter_into(t.scratch_colour_fbo, t.colour_tex, 999999.0f);
  if (t.amount_fbo) filter_into(t.scratch_amount_fbo, t.amount_tex, sharpen ? 999999.0f : 1 + 4 * spread);
  copy_back(t.colour_fbo, t.scratch_colour_tex);
  if (t.amount_fbo) copy_back(t.amount_fbo, t.scratch_amount_tex);
  glUseProgram(0);
  bind_texture(0, 0);
  glEnable(GL_BLEND);
}

namespace {

float cross2(const float a[2], const float b[2]) {
  return a[0] * b[1] - a[1] * b[0];
}
float dist(const float a[2], const float b[2]) {
  return std::hypot(a[0] - b[0], a[1] - b[1]);
}

// Where the lines p0-p1 and q0-q1 meet; `div` 0 when they are parallel, else
// the sign of the determinant.
void line_cross(const float p0[2], const float p1[2], const float q0[2], const float q1[2], float out[2], float* div) {
  const float r[2] = {p1[0] - p0[0], p1[1] - p0[1]}, s[2] = {q1[0] - q0[0], q1[1] - q0[1]};
  const float den = cross2(r, s);
  const float scale = std::max(1e-12f, std::hypot(r[0], r[1]) * std::hypot(s[0], s[1]));
  if (std::fabs(den) <= 1e-5f * scale) {
    out[0] = out[1] = 0;
    *div = 0;
    return;
  }
  const float qp[2] = {q0[0] - p0[0], q0[1] - p0[1]};
  const float t = cross2(qp, s) / den;
  out[0] = p0[0] + t * r[0];
  out[1] = p0[1] + t * r[1];
  *div = den > 0 ? 1.0f : -1.0f;
}

}  // namespace

void set_quad_warp(const float pa[2], const float pb[2], const float pc[2], const float pd[2], const float xuv[4]) {
  float ucross[2], vcross[2], udiv, vdiv;
  line_cross(pa, pd, pb, pc, ucross, &udiv);  // where lines of constant v meet
  line_cross(pa, pb, pd, pc, vcross, &vdiv);  // where lines of constant u meet
  program(Prog::quad_warp)
      .use()
      .set("ablen", dist(pa, pb))
      .set("bclen", dist(pb, pc))
      .set("dclen", dist(pd, pc))
      .set("adlen", dist(pa, pd))
      .set("udiv", udiv)
      .set("vdiv", vdiv)
      .set("ucross", ucross[0], ucross[1])
      .set("vcross", vcross[0], vcross[1])
      .set("pa", pa[0], pa[1])
      .set("pb", pb[0], pb[1])
      .set("pc", pc[0], pc[1])
      .set("pd", pd[0], pd[1])
      .set("xuv", xuv[0], xuv[1], xuv[2], xuv[3]);
}

}  // namespace gpu
