#include "gpu/guide.h"

#include <algorithm>
#include <cmath>

#include "gpu/buffer.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "platform/gl.h"

namespace gpu {
namespace {

constexpr float lattice_size = 400;
constexpr float near_plane = 1;
constexpr float degrees = 3.14159265f / 180;

// A perspective projection with its far plane at infinity: the lattice's
// edges and horizon lie 100000 units out and must not be cut off, and the
// near plane stays off the camera (0 would divide by zero).
void set_perspective(float fov_deg, float aspect) {
  const float f = 1 / std::tan(fov_deg * 0.5f * degrees);
  const float m[16] = {f / aspect, 0, 0, 0, 0, f, 0, 0, 0, 0, -1, -1, 0, 0, -2 * near_plane, 0};
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(m);
  glMatrixMode(GL_MODELVIEW);
}

// A line strip along one axis from -half to +half in `steps` steps, the
// other two coordinates fixed; `axis` 0 x, 1 y, 2 z.
void strip(int axis, float a, float b, float half, int steps) {
  glBegin(GL_LINE_STRIP);
  for (int i = 0; i <= steps; ++i) {
    const float t = -half + 2 * half * float(i) / float(steps);
    const float p[3] = {axis == 0 ? t : a, axis == 1 ? t : (axis == 0 ? a : b), axis == 2 ? t : b};
    glVertex3f(p[0], p[1], p[2]);
  }
  glEnd();
}

// The lines of one face of the cube, at `fixed` on axis `normal`, running
// along `along` at every grid position of the third axis.
void face_lines(int normal, float fixed, int along, int n) {
  const float h = lattice_size * 0.5f;
  const int across = 3 - normal - along;
  for (int j = 0; j <= n; ++j) {
    const float pos = -h + float(j) * lattice_size / float(n);
    float p[3] = {0, 0, 0};
    p[normal] = fixed;
    p[across] = pos;
    // strip() takes the two fixed coordinates in axis order.
    const float first = along == 0 ? p[1] : p[0];
    const float second = along == 2 ? p[1] : p[2];
    strip(along, first, second, h, 80);
  }
}

// Point k (0..800) of a vanishing edge: cubic spacing from -100000 to +100000.
float edge_dash_point(int k) {
  const float t = -1 + 0.0025f * float(k);
  return 100000 * t * t * t;
}

void draw_lattice(float alpha, int n) {
  const float h = lattice_size * 0.5f;
  glLineWidth(2);
  glColor4f(1, 1, 1, alpha * 4);
  strip(2, 0, 0, 8000, 800);
  strip(1, 0, 0, 8000, 800);
  strip(0, 0, 0, 8000, 800);

  glColor4f(1, 1, 1, alpha);
  // Faces in pairs, each with its two directions of lines in a fixed order.
  const int faces[3][3] = {{0, 2, 1}, {1, 0, 2}, {2, 0, 1}};
  for (const auto& f : faces)
    for (const float side : {-h, h}) {
      face_lines(f[0], side, f[1], n);
      face_lines(f[0], side, f[2], n);
    }

  glLineWidth(1);
  glColor4f(1, 1, 1, alpha * 0.5f);
  // Dashes packed near the cube and stretched towards the far ends. Each
  // edge is a batch of its own: its 801st point has no partner and draws
  // nothing, instead of pairing with the next edge's first point.
  for (const float m : {-h, h})
    for (const float o : {-h, h}) {
      glBegin(GL_LINES);
      for (int k = 0; k <= 800; ++k) glVertex3f(m, o, edge_dash_point(k));
      glEnd();
      glBegin(GL_LINES);
      for (int k = 0; k <= 800; ++k) glVertex3f(edge_dash_point(k), o, m);
      glEnd();
    }
  glBegin(GL_LINE_STRIP);
  for (int i = 0; i < 360; ++i)
    glVertex3f(100000 * std::sin(float(i) * degrees), 0, 100000 * std::cos(float(i) * degrees));
  glEnd();
}

}  // namespace

void draw_guide(GuideSettings& g, int w, int h) {
  clamp_guide(g);
  g.wobble_counter = g.guide_wobble ? (g.wobble_counter + 1) % 3600 : 0;
  glEnable(GL_BLEND);
  program(Prog::depth_fade).use().set("front", g.guide_camera[2] / 200).set("distortion", g.guide_distortion);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  bind_texture(0, 0);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_NOTEQUAL, 0);
  glViewport(0, 0, w, h);
  set_perspective(g.guide_fov, float(w) / float(h));

  // The sway rocks the camera by half a degree with a period of 36 frames;
  // without it the lattice stands still and untilted.
  const float sway = 10 * float(g.wobble_counter) * degrees;
  const float rock = g.guide_wobble ? 0.5f : 0.0f;
  glLoadIdentity();
  glTranslatef(g.guide_camera[0], g.guide_camera[1], g.guide_camera[2]);
  glRotatef(g.guide_rotation[0] + rock * std::sin(sway), 1, 0, 0);
  glRotatef(g.guide_rotation[1] + rock * std::cos(sway), 0, 1, 0);
  glRotatef(g.guide_rotation[2], 0, 0, 1);
  glTranslatef(g.guide_offset[0], g.guide_offset[1], g.guide_offset[2]);
  draw_lattice(g.guide_alpha, g.guide_subdivisions);

  glUseProgram(0);
  set_projection(w, h);
}

}  // namespace gpu
