#include "tests/stroke_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/brush_image_frame.h"
#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "layers/layer.h"
#include "tests/gl_fixture.h"

void drag(const Drag& d) {
  const gpu::Geometry& g = gpu::geometry;
  StrokeInput in;
  in.size = in.base_size = d.size;
  in.pressure = d.pressure;
  in.tool = d.tool;
  in.pen_factor = 1;
  in.z_held = d.z_held;
  in.fluidity = d.fluidity;
  in.canvas_grain = d.grain;
  in.canvas_height = d.grain ? gpu::canvas_buffers.canvas_height.texture() : 0;
  for (int i = 0; i < 4; ++i) in.colour[i] = d.colour[i];
  vec2d dir = vec2d::Create(d.x1 - d.x0, d.y1 - d.y0);
  dir.normalize();
  if (dir.x == 0 && dir.y == 0) dir = vec2d::Create(0, 1);
  in.direction = dir;
  float px = d.x0, py = d.y0;
  for (int i = 0; i <= d.frames; ++i) {
    const float t = float(i) / float(d.frames);
    in.x = d.x0 + (d.x1 - d.x0) * t;
    in.y = d.y0 + (d.y1 - d.y0) * t;
    in.dx = (in.x - px) / float(g.width);
    in.dy = (in.y - py) / float(g.height);
    px = in.x;
    py = in.y;
    if (d.brush_images) brush_image_stroke_input(in);
    stroke_frame(in);
    if (d.brush_images) note_stroke_image();
  }
  stroke_end();
}

LayerPixels read_layer(bool undo) {
  const gpu::Geometry& g = gpu::geometry;
  LayerPixels p;
  p.w = g.width;
  p.h = g.height;
  const layer& l = *layers.active;
  // llvmpipe may still hold the stroke's last draws when a texture is read
  // back after its framebuffer was unbound.
  glFinish();
  p.mat = read_texture(undo ? l.undo_mat() : l.fbo_mat(), p.w, p.h, GL_RED, 1);
  p.col = read_texture(undo ? l.undo_col() : l.fbo_col(), p.w, p.h, GL_RGBA, 4);
  return p;
}

std::string drag_script(int x0, int y0, int x1, int y1) {
  std::string s = "mouse " + std::to_string(x0) + " " + std::to_string(y0) + "\nframe\ndown left\nframe\n";
  for (int i = 1; i <= 8; ++i)
    s += "mouse " + std::to_string(x0 + (x1 - x0) * i / 8) + " " + std::to_string(y0 + (y1 - y0) * i / 8) + "\nframe\n";
  return s + "up left\nframe 2\n";
}

std::array<float, 3> paint_colour(const LayerPixels& p, int x0, int x1, int y) {
  std::array<float, 3> sum{};
  int n = 0;
  for (int x = x0; x <= x1; ++x)
    if (p.amount(x, y) > 0.3f) {
      for (int i = 0; i < 3; ++i) sum[std::size_t(i)] += p.colour(x, y)[i];
      ++n;
    }
  EXPECT_GT(n, 10) << "no paint along row " << y;
  for (float& v : sum) v /= float(std::max(n, 1));
  return sum;
}
