#include "brush/brush_types.h"

#include <algorithm>
#include <cmath>

#include "brush/bristle.h"
#include "brush/brush_settings.h"
#include "gpu/buffer.h"
#include "gpu/deposit.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"

namespace {

constexpr float deg = 3.14159265358979f / 180.0f;
constexpr int load_size = 64;  // side of type 9's paint load and of the bristle mask

float dab_falloff() {
  return (1 + brush_settings.bias) * 0.5f;
}

// Canvas-position texture coordinate pair for the vertex_uv4 programs.
void vertex(float u, float v, float x, float y) {
  const gpu::Geometry& g = gpu::geometry;
  glTexCoord4f(u, v, x / float(g.width), y / float(g.height));
  glVertex2f(x, y);
}

// The brush direction of the scatter brushes: the pen's tilt when it steers,
// else the stroke direction.
vec2d scatter_direction(const StrokeCall& c) {
  if (c.type < 4 && brush_settings.pen_tilt && c.in && c.in->tilt_altitude != 0) {
    const float t = c.in->tilt_azimuth * deg;
    return vec2d::Create(-std::sin(t), std::cos(t));
  }
  return c.direction;
}

float size_factor(const StrokeCall& c) {
  return brush_settings.pen_size ? c.pen_factor : 1.0f;
}

void scatter_brush(const StrokeCall& c, bool dense) {
  const float k = scatter_bias_factor(brush_settings.bias);
  const vec2d t = scatter_direction(c);
  const float s = std::min(1.0f, 2 * c.size / std::max(c.base_size, 1e-6f));
  const int n = dense ? int(c.density * c.size * 4) : int(c.density * (333 + 4 * s));
  const float sf = size_factor(c);
  glBegin(GL_QUADS);
  for (int i = dense ? 0 : 2; i < n; ++i) {
    const float fi = float(i);
    float a = std::fmod(fi * std::fmod(fi, 7.7f) * 1433.9133f + fi * 3.3f + c.length_value, 360.0f);
    const float d = std::sqrt(std::fabs(std::fmod(a, 1.0f)));
    a += d;
    const float ox = std::sin(a * deg) * d, oy = std::cos(a * deg) * d;
    if (std::hypot(ox, oy + k) <= 0.99f) continue;
    const float px = ox * c.size * 0.5f, py = oy * c.size * 0.5f;
    const float x = c.x - px * t.y + py * t.x, y = c.y + px * t.x + py * t.y;
    const float jitter = std::fmod(fi * fi * 1735.749f + fi * 3.391f, 531.376f) / 2000.0f;
    const float dab = 1 + jitter * (1 + c.bristle_size * c.size) * sf;
    motion_quad(x, y, dab * 0.5f, c.dx, c.dy);
  }
  glEnd();
}

void tilted_scatter_brush(const StrokeCall& c) {
  const float k = scatter_bias_factor(brush_settings.bias);
  const vec2d t = scatter_direction(c);
  const float seed = c.type == 4 ? stroke.seed : c.length_value;
  const float q = c.tilt_altitude != 0 ? std::pow(c.tilt_altitude / 90.0f, 3.0f) : 0.5f;
  const float sf = size_factor(c);
  const int n = int(c.density * (5 + c.size * 4 * sf));
  glBegin(GL_QUADS);
  for (int i = 0; i < n; ++i) {
    const float fi = float(i);
    const float u = std::fabs(std::fmod(seed + std::fmod(fi, 63.7f) * fi * 1433.9133f + fi * 13.3f, 1.0f));
    const float a = std::fmod(seed + std::fmod(fi, 7.7f) * fi * 1433.9133f + fi * 3.3f, 360.7f);
    const float d = std::sqrt(std::fabs(std::fmod(a, 1.0f)));
    const float ox = std::sin(a * deg) * d, oy = std::cos(a * deg) * d;
    if (std::hypot(ox, oy + k) <= 0.99f) continue;
    const float px = c.size * 0.5f * ox, py = c.size * 0.5f * q * oy;
    const float dab = 0.05f * (c.size * 0.2f - std::fabs(px)) + c.size * c.bristle_size * u * sf * 0.25f;
    if (dab <= 0) continue;
    motion_quad(c.x + px * t.y - py * t.x, c.y - px * t.x - py * t.y, dab * 0.5f, c.dx, c.dy);
  }
  glEnd();
}

// The two ends of the strip's cross-section at (x, y): across the path while
// the brush moves, so a tilt pointing along the path cannot fold the strip to
// nothing; across the stroke direction while it stands.
void ribbon_edges(const StrokeCall& c, vec2d* left, vec2d* right) {
  const gpu::Geometry& g = gpu::geometry;
  vec2d along = vec2d::Create(c.dx * float(g.width), c.dy * float(g.height));
  if (along.length() < 1e-3f) along = c.direction;
  vec2d n = vec2d::Create(along.y, -along.x);
  n.normalize();
  const float h = c.size * 0.5f;
  *left = vec2d::Create(c.x - n.x * h, c.y - n.y * h);
  *right = vec2d::Create(c.x + n.x * h, c.y + n.y * h);
}

// A square buffer for the brush's own pictures.
struct BrushBuffers {
  gpu::Buffer mask;                // bristle mask of type 5 when no brush image is in use
  gpu::Buffer load_col, load_mat;  // type 9: the paint the brush carries
  gpu::Buffer load_col_tmp, load_mat_tmp;
  gpu::Buffer full;  // type 8: a paint amount of 1
};

BrushBuffers& buffers() {
  static BrushBuffers b;
  return b;
}

// Draws the square of side 2 s around (x, y) with texture (0, 1) at its top
// left, the region quad's convention.
void square(float x, float y, float s) {
  glBegin(GL_QUADS);
  glTexCoord2f(0, 1);
  glVertex2f(x - s, y - s);
  glTexCoord2f(1, 1);
  glVertex2f(x + s, y - s);
  glTexCoord2f(1, 0);
  glVertex2f(x + s, y + s);
  glTexCoord2f(0, 0);
  glVertex2f(x - s, y + s);
  glEnd();
}

void make_bristle_mask() {
  BrushBuffers& b = buffers();
  b.mask = gpu::Buffer::create(load_size, load_size, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
  b.mask.bind_target();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  gpu::ScopedResolution at(load_size, load_size);
  glDisable(GL_BLEND);
  gpu::program(gpu::Prog::bristle_noise_gray).use().set("size", 9.0f).set("brisize", 1.6f).set("brisize_cmp", 4.0f);
  glColor4f(1, 1, 1, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(0, 0);
  glTexCoord2f(0.3f, 0);
  glVertex2f(float(load_size), 0);
  glTexCoord2f(0.3f, 1);
  glVertex2f(float(load_size), float(load_size));
  glTexCoord2f(0, 1);
  glVertex2f(0, float(load_size));
  glEnd();
  glEnable(GL_BLEND);
  glUseProgram(0);
}

// Copies the canvas square of side 2 s around (x, y) from `tex` into `target`
// through the bound program.
void pick_square(const gpu::Buffer& target, GLuint tex, float x, float y, float s) {
  const gpu::Geometry& g = gpu::geometry;
  const float W = float(g.width), H = float(g.height);
  const float u0 = (x - s) / W, u1 = (x + s) / W, v0 = 1 - (y - s) / H, v1 = 1 - (y + s) / H;
  target.bind_target();
  gpu::ScopedResolution at(load_size, load_size);
  gpu::bind_texture(0, tex);
  const float L = float(load_size);
  glBegin(GL_QUADS);
  glTexCoord2f(u0, v0);
  glVertex2f(0, 0);
  glTexCoord2f(u1, v0);
  glVertex2f(L, 0);
  glTexCoord2f(u1, v1);
  glVertex2f(L, L);
  glTexCoord2f(u0, v1);
  glVertex2f(0, L);
  glEnd();
}

}  // namespace

float scatter_bias_factor(float bias) {
  return bias < 0 ? 2 + 2 * bias : -2 + 2 * bias;
}

void motion_quad(float x, float y, float s, float dx, float dy, bool turned) {
  const gpu::Geometry& g = gpu::geometry;
  const float mx = dx * float(g.width), my = dy * float(g.height);
  const float len = std::hypot(mx, my);
  float m = 0, l = s;
  if (len > 0) {
    m = mx / len * s;
    l = my / len * s;
  }
  const float Fx = x + m, Fy = y + l;
  const float Kx = x - mx - m, Ky = y - my - l;
  const float nx = l, ny = -m;
  const float uv[4][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
  const float corner[4][2] = {{Fx - nx, Fy - ny}, {Kx - nx, Ky - ny}, {Kx + nx, Ky + ny}, {Fx + nx, Fy + ny}};
  for (int i = 0; i < 4; ++i) vertex(uv[i][turned ? 1 : 0], uv[i][turned ? 0 : 1], corner[i][0], corner[i][1]);
}

void prepare_brush_buffers(int type) {
  BrushBuffers& b = buffers();
  if (type == 5 && !b.mask.texture()) make_bristle_mask();
  if (type == 8 && !b.full.texture()) {
    b.full = gpu::Buffer::create(1, 1, GL_R32F, GL_RED, GL_CLAMP_TO_EDGE);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
  }
  if (type == 9 && !b.load_col.texture()) {
    b.load_col = gpu::Buffer::create(load_size, load_size, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
    b.load_mat = gpu::Buffer::create(load_size, load_size, GL_R32F, GL_RED, GL_CLAMP_TO_EDGE);
  }
}

GLuint full_amount() {
  return buffers().full.texture();
}

void release_brush_buffers() {
  buffers() = BrushBuffers{};
}

namespace {

// With a brush image in use every dab stamps the image (its top row leading
// the motion): the colour pass lays the image's colour, or the paint colour
// through its amount, the amount passes its amount. False without an image.
bool bind_dab_image(const StrokeCall& c) {
  const BrushImageRef* image = c.in ? stroke_image(*c.in) : nullptr;
  if (!image) return false;
  const float radial = float(int(brush_settings.bias * 100)) * 0.01f;
  gpu::bind_texture(0, image->mat);
  if (c.pass == 0 && c.in->image_colour) {
    gpu::program(gpu::Prog::layer_composite_radial)
        .use()
        .set_int("premul", 0)
        .set("visibility", 1.0f)
        .set("radial", radial);
    gpu::bind_texture(1, image->col);
    glColor4f(1, 1, 1, c.colour[3]);
  } else {
    gpu::program(gpu::Prog::mat_to_alpha_radial).use().set("radial", radial);
    glColor4f(c.colour[0], c.colour[1], c.colour[2], c.colour[3]);
  }
  return true;
}

}  // namespace

void draw_dab_brush(const StrokeCall& c) {
  const bool image = bind_dab_image(c);
  if (!image) {
    gpu::program(gpu::Prog::dab_soft).use().set("falloff", c.type == 0 ? dab_falloff() : 0.5f);
    glColor4f(c.colour[0], c.colour[1], c.colour[2], c.colour[3]);
  }
  switch (c.type) {
    case 1: scatter_brush(c, false); break;
    case 2: scatter_brush(c, true); break;
    case 3:
    case 4: tilted_scatter_brush(c); break;
    default:
      glBegin(GL_QUADS);
      motion_quad(c.x, c.y, c.size * 0.5f, c.dx, c.dy);
      glEnd();
      break;
  }
  if (image) {
    gpu::bind_texture(1, 0);
    gpu::bind_texture(0, 0);
  }
}

void draw_textured_brush(const StrokeCall& c) {
  const GLuint mask = buffers().mask.texture();
  const float radial = 0.3f + 0.7f * std::fabs(brush_settings.bias);
  gpu::program(gpu::Prog::mat_to_alpha_radial).use().set("radial", radial);
  gpu::bind_texture(0, mask);
  glColor4f(c.colour[0], c.colour[1], c.colour[2], c.colour[3]);
  // A flat brush: the mask's hairs run along the motion and fade at its sides.
  glBegin(GL_QUADS);
  motion_quad(c.x, c.y, c.size * 0.5f, c.dx, c.dy, true);
  glEnd();
  gpu::bind_texture(0, 0);
}

void draw_ribbon_brush(const StrokeCall& c) {
  vec2d left, right;
  ribbon_edges(c, &left, &right);
  if (!stroke.ribbon_started) {
    stroke.ribbon_left = left;
    stroke.ribbon_right = right;
    stroke.ribbon_length = 0;
  }
  const float step = std::hypot(c.dx * float(gpu::geometry.width), c.dy * float(gpu::geometry.height));
  // Along the strip u advances with the distance in brush widths; across it v
  // runs 0..1, so the mask's hairs follow the stroke.
  const float u0 = stroke.ribbon_length / std::max(c.size, 1.0f);
  const float u1 = (stroke.ribbon_length + step) / std::max(c.size, 1.0f);
  if (c.type == 7) {
    gpu::program(gpu::Prog::bristle_noise)
        .use()
        .set("size", 6.0f)
        .set("brisize", 1.0f + c.bristle_size)
        .set("brisize_cmp", 3.0f);
  } else {
    glUseProgram(0);
  }
  glColor4f(c.colour[0], c.colour[1], c.colour[2], c.colour[3]);
  glBegin(GL_QUAD_STRIP);
  vertex(u0 * 0.05f, 0, stroke.ribbon_left.x, stroke.ribbon_left.y);
  vertex(u0 * 0.05f, 1, stroke.ribbon_right.x, stroke.ribbon_right.y);
  vertex(u1 * 0.05f, 0, left.x, left.y);
  vertex(u1 * 0.05f, 1, right.x, right.y);
  glEnd();
}

void ribbon_advance(const StrokeCall& c) {
  ribbon_edges(c, &stroke.ribbon_left, &stroke.ribbon_right);
  stroke.ribbon_length += std::hypot(c.dx * float(gpu::geometry.width), c.dy * float(gpu::geometry.height));
  stroke.ribbon_started = true;
}

void draw_loaded_brush(const StrokeCall& c) {
  const BrushBuffers& b = buffers();
  const corner& f = stroke.follow;
  const float s = c.size * 0.5f;
  const float radial = std::max(0.01f, float(int(brush_settings.bias * 100)) * 0.01f + 0.5f);
  if (c.pass == 0) {
    // The carried paint, blended over the paint colour laid by the brush.
    gpu::program(gpu::Prog::dab_soft).use().set("falloff", 0.5f);
    glColor4f(c.colour[0], c.colour[1], c.colour[2], c.colour[3] * 0.5f);
    square(f.p.x, f.p.y, s);
    gpu::program(gpu::Prog::layer_composite_radial)
        .use()
        .set_int("premul", 0)
        .set("visibility", 1.0f)
        .set("radial", radial);
    gpu::bind_texture(0, b.load_mat.texture());
    gpu::bind_texture(1, b.load_col.texture());
    glColor4f(1, 1, 1, c.colour[3]);
    square(f.p.x, f.p.y, s);
  } else {
    gpu::program(gpu::Prog::mat_to_alpha_radial).use().set("radial", radial);
    gpu::bind_texture(0, b.load_mat.texture());
    glColor4f(c.colour[0], 0, 0, c.colour[3]);
    square(f.p.x, f.p.y, s);
    gpu::program(gpu::Prog::dab_soft).use().set("falloff", 0.5f);
    glColor4f(c.colour[0], 0, 0, c.colour[3] * 0.5f);
    square(f.p.x, f.p.y, s);
  }
  gpu::bind_texture(1, 0);
  gpu::bind_texture(0, 0);
}

void loaded_brush_pick_up(const StrokeCall& c, GLuint layer_col, GLuint layer_mat) {
  BrushBuffers& b = buffers();
  corner& f = stroke.follow;
  const float s = c.size * 0.5f;
  // The brush picks up part of the paint under it and then trails the pointer.
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  const float share = c.first_frame ? 1.0f : 0.35f;
  gpu::program(gpu::Prog::layer_composite_radial)
      .use()
      .set_int("premul", 0)
      .set("visibility", 1.0f)
      .set("radial", 0.0f);
  gpu::bind_texture(1, layer_col);
  glColor4f(1, 1, 1, share);
  pick_square(b.load_col, layer_mat, f.p.x, f.p.y, s);
  gpu::program(gpu::Prog::mat_boost_radial).use().set("radial", 0.0f);
  glColor4f(1, 1, 1, share);
  pick_square(b.load_mat, layer_mat, f.p.x, f.p.y, s);
  glUseProgram(0);
  gpu::bind_texture(1, 0);
  gpu::bind_texture(0, 0);
  f.op = f.p;
  f.p = f.p.addv(vec2d::Create(c.x, c.y).subv(f.p).mul(0.5f));
  gpu::set_projection(gpu::geometry.width, gpu::geometry.height);
}
