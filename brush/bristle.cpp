#include "brush/bristle.h"

#include <algorithm>
#include <cmath>

#include "gpu/buffer.h"
#include "gpu/geometry.h"
#include "platform/gl.h"
#include "base/random.h"

BristleState bristles;

namespace {

constexpr int bristle_total = 4000;
constexpr float deg = 3.14159265358979f / 180.0f;

float sind(float a) {
  return std::sin(a * deg);
}
float cosd(float a) {
  return std::cos(a * deg);
}

// The footprint pattern: slot i spread over the unit disc, reshuffled by r.
vec2d disc_point(float i, float r) {
  float a = std::fmod(i * std::fmod(i, 7.7f) * r + i * 3.3f, 360.0f);
  const float d = std::sqrt(std::fmod(a, 1.0f));
  a += d;
  return vec2d::Create(sind(a) * d, cosd(a) * d);
}

vec2d unit_at(float angle) {
  return vec2d::Create(sind(angle), cosd(angle));
}

// Brush direction: the stroke direction's angle plus the brush rotation.
vec2d brush_direction(const BristleFrame& f) {
  vec2d d = f.stroke_direction;
  d.get_angle();
  return unit_at(d.angle + f.rotation);
}

// Oscillation offset of the bristle at position L; neighbours wobble in
// opposite senses.
vec2d oscillation(float length, float L_before, const BristleFrame& f) {
  const float k = std::fmod(L_before, 2.0f) >= 1 ? 40.5f : -40.0f;
  const float L = L_before + 1;
  const float s = f.radius * f.oscillate;
  return vec2d::Create(sind(length * k + L) * s, cosd(length * k + L) * s);
}

void set_vertex(bristle_vertex& v, const float* col, const vec2d& offset, const vec2d& p) {
  const gpu::Geometry& g = gpu::geometry;
  std::copy(col, col + 4, v.col);
  v.uv[0] = offset.x;
  v.uv[1] = offset.y;
  v.uv[2] = p.x / float(g.width);
  v.uv[3] = p.y / float(g.height);
  v.pos[0] = p.x;
  v.pos[1] = p.y;
}

// Draws vertex pairs, each pair a line or (flag false) two points, in their
// order: consecutive pairs of one kind go in one call.
void draw_pairs(const std::vector<bristle_vertex>& v, const std::vector<char>& is_line, int pairs) {
  if (pairs == 0) return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(bristle_vertex), v[0].pos);
  glColorPointer(4, GL_FLOAT, sizeof(bristle_vertex), v[0].col);
  glTexCoordPointer(4, GL_FLOAT, sizeof(bristle_vertex), v[0].uv);
  int start = 0;
  for (int i = 1; i <= pairs; ++i) {
    if (i == pairs || is_line[i] != is_line[start]) {
      glDrawArrays(is_line[start] ? GL_LINES : GL_POINTS, start * 2, (i - start) * 2);
      start = i;
    }
  }
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

std::vector<char>& line_flags() {
  static std::vector<char> flags;
  return flags;
}

}  // namespace

float bristle_random(float lo, float hi) {
  return random_float(lo, hi);
}

int bristle_budget(float radius, float bias, int count) {
  const float area = std::pow(2 + 2 * radius, 2 - 0.25f * std::fabs(bias));
  return int(std::min(area, float(count)));
}

bristle* bristle::Create(bristle_list& list, const vec2d& v, float length, float size, float press) {
  auto b = std::make_unique<bristle>();
  b->offset = vec2d::Create(v.x, v.y);
  b->pos = vec2d::Create(v.x, v.y);
  b->opos = vec2d::Create(v.x, v.y);
  b->tpos = vec2d::Create(v.x, v.y);
  b->topos = vec2d::Create(v.x, v.y);
  b->length = length;
  b->size = size;
  b->press = press;
  b->elastic = 0.25f;
  list.push_back(std::move(b));
  return list.back().get();
}

void create_bristles() {
  if (!bristles.list.empty()) return;
  bristles.list.reserve(bristle_total);
  for (int i = 0; i < bristle_total; ++i) {
    bristle* b = bristle::Create(bristles.list, disc_point(float(i), 1433.9133f), 1, 1, 0);
    b->size = 0.4f * float(int(bristle_random(1, 11)));
  }
  // Room for the largest stroke and its vertices, so frames never allocate.
  bristles.array.reserve(bristle_total + 1);
  bristles.vertices.resize(2 * (bristle_total + 1));
  line_flags().resize(bristle_total + 1);
}

void bristle::init(bristle_list& list, float x, float y) {
  BristleState& s = bristles;
  const BristleFrame& f = s.frame;
  const float r = bristle_random(1.1345f, 1433.9133f);
  float L = 0;
  s.count = std::clamp(s.count, 1, bristle_total + 1);
  s.array.assign(std::size_t(s.count), nullptr);
  for (std::size_t i = 0; i < s.array.size() && i < list.size(); ++i) s.array[i] = list[i].get();

  const float t = std::fabs(f.bias);
  for (std::size_t slot = 0; slot < s.array.size(); ++slot) {
    bristle* b = s.array[slot];
    if (!b) continue;
    b->age = 0;
    vec2d o = disc_point(float(slot + 1), r);
    float bx = bristle_random(-1, 1), by = bristle_random(-1, 1);
    if (f.bias > 0)
      by = bristle_random(f.bias - 1, 1 - f.bias);
    else
      bx = bristle_random(-1 - f.bias, 1 + f.bias);
    if (t > 0) o = vec2d::Create(o.x + (bx - o.x) * t, o.y + (by - o.y) * t);
    b->xtra_offset = bristle_random(0, 1);
    b->offset = o;
    b->ovel = vec2d{};
    b->opress = b->press = f.stroke_pressure;
    b->pos = vec2d::Create(x, y);
    b->length = bristle_random(0, 360) * f.osc_chaos + L;
    if (f.oscillate > 0) {
      b->pos = b->pos.addv(oscillation(b->length, L, f));
      L += 1;
    }
    b->opos = b->pos;
    b->topos = b->opos.addv(b->offset.mul(f.old_radius));
    b->tpos = b->pos.addv(b->offset.mul(f.radius));
  }
  s.direction = brush_direction(f);
  for (bristle* b : s.array) {
    if (!b) continue;
    b->oaccu_v = s.direction;
    b->vel = vec2d{};
  }
}

void bristle::draw_setup(bristle_list&, float x, float y) {
  BristleState& s = bristles;
  const BristleFrame& f = s.frame;
  gpu::bind_texture(0, 0);
  gpu::bind_texture(1, 0);
  glUseProgram(0);
  glLineWidth(size * (0.25f + f.radius * 0.001f));
  glPointSize(std::max(1.0f, size * (0.25f + f.radius * 0.001f)));

  const gpu::Geometry& g = gpu::geometry;
  vec2d m = vec2d::Create(f.delta_x * float(g.width), f.delta_y * float(g.height));
  const float moved = m.length();
  s.direction = brush_direction(f);
  const vec2d d = s.direction;
  float L = 0;
  for (bristle* b : s.array) {
    if (!b) continue;
    b->age += 1;
    b->ovel = b->vel;
    b->opress = b->press;
    b->press = f.stroke_pressure;
    b->opos = b->pos;
    b->pos = vec2d::Create(x, y);
    if (f.oscillate > 0) {
      b->pos = b->pos.addv(oscillation(b->length, L, f));
      L += 1;
    }
    const float A = b->offset.x * f.old_radius, B = b->offset.y * f.old_radius;
    const vec2d a = b->oaccu_v;
    b->topos = b->opos.addxy(A * a.x + B * a.y, A * a.y - B * a.x);
    const float C = b->offset.x * f.radius, D = b->offset.y * f.radius;
    b->tpos = b->pos.addxy(C * d.x + D * d.y, C * d.y - D * d.x);
    b->vel = b->tpos.subv(b->topos);
    b->topos = b->topos.subv(b->ovel.mul(b->xtra_offset));
    b->tpos = b->tpos.subv(b->vel.mul(b->xtra_offset));
    b->oaccu_v = d;
    float step = moved;
    if (f.osc_chaos > 0) step += 10 * f.osc_chaos * bristle_random(-moved, moved);
    if (f.oscillate > 0 && f.radius > 0) b->length += step / f.radius;
  }
}

namespace {

// Each bristle's segment from its previous to its current tip; `smear` draws
// every segment as a line, otherwise only those that moved a pixel or more
// (the rest are dots).
int draw_segments(int max, bool smear) {
  BristleState& s = bristles;
  std::vector<char>& lines = line_flags();
  int n = 0;
  for (bristle* b : s.array) {
    if (n >= max) break;
    if (!b) continue;
    lines[n] = smear || b->vel.dot(b->vel) >= 1;
    set_vertex(s.vertices[2 * n], b->ocol, b->offset, b->topos);
    set_vertex(s.vertices[2 * n + 1], b->col, b->offset, b->tpos);
    ++n;
  }
  draw_pairs(s.vertices, lines, n);
  return n;
}

}  // namespace

int bristle::draw_col(bristle_list&, int max) {
  return draw_segments(max, false);
}

int bristle::draw_smear(bristle_list&, int max) {
  return draw_segments(max, true);
}

int bristle::draw_vec(bristle_list&, int max) {
  BristleState& s = bristles;
  const BristleFrame& f = s.frame;
  std::vector<char>& lines = line_flags();
  const float D = float(gpu::geometry.width) * (1.5f - f.stroke_pressure * std::min(0.5f, f.fluidity + 0.5f));
  int n = 0;
  for (bristle* b : s.array) {
    if (n >= max) break;
    if (!b) continue;
    const vec2d P = b->topos, Q = b->tpos;
    const vec2d PQ = Q.subv(P);
    const float u = 1 - bristle_random(0, 1);  // (0, 1]
    const vec2d E = P.addv(PQ.mul(u));
    const vec2d S = E.subv(PQ.mul(u * u));
    const float vx = PQ.x / D, vy = -PQ.y / D;
    const float c0[4] = {vx, vy, 0, b->opress}, c1[4] = {vx, vy, 0, b->press};
    lines[n] = 1;
    set_vertex(s.vertices[2 * n], c0, b->offset, S);
    set_vertex(s.vertices[2 * n + 1], c1, b->offset, E);
    s.vertices[2 * n].uv[2] = s.vertices[2 * n].uv[3] = 0;
    s.vertices[2 * n + 1].uv[2] = s.vertices[2 * n + 1].uv[3] = 0;
    ++n;
  }
  draw_pairs(s.vertices, lines, n);
  return n;
}

void bristle::eval(float x, float y) {
  const vec2d T = opos.addxy(x, y);
  pos = pos.addv(vel);
  vec3d d = vec3d::Create(T.x - pos.x, T.y - pos.y, bristles.frame.pen_z);
  if (d.length() > length) d.normalize();
  d.scale(length);
  vel = vel.addxy(d.x, d.y);
}

void bristle::draw_streak() {
  const gpu::Geometry& g = gpu::geometry;
  vec2d h = vel;
  h.normalize();
  h.scale(size * 0.5f);
  const vec2d n = vec2d::Create(h.y, -h.x);
  const vec2d F = pos.addv(h);
  const vec2d K = pos.subxy(vel.x * float(g.width), vel.y * float(g.height)).subv(h);
  glColor4f(vel.x, vel.y, 0, press);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 1);
  glVertex2f(F.x - n.x, F.y - n.y);
  glTexCoord2f(0, 0);
  glVertex2f(K.x - n.x, K.y - n.y);
  glTexCoord2f(1, 0);
  glVertex2f(K.x + n.x, K.y + n.y);
  glTexCoord2f(1, 1);
  glVertex2f(F.x + n.x, F.y + n.y);
  glEnd();
}
