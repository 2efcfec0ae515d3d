#pragma once
// Canvas geometry and the quads every pass draws. Off-screen passes use an
// orthographic projection of W x H canvas pixels with y growing downwards;
// texture row 0 is the bottom of the picture, so canvas pixel (x, y) is texture
// coordinate (x / W, 1 - y / H).
#include <array>

namespace gpu {

struct Geometry {
  int width = 1280;   // canvas width W in pixels
  int height = 720;   // canvas height H
  float aspect = 1280.0f / 720.0f;
  float texel_x = 1.0f / 1280.0f, texel_y = 1.0f / 720.0f;
};

// Owned here; passes that run at another resolution overwrite width and height
// for their duration (ScopedResolution).
extern Geometry geometry;

// Sets W, H and the values derived from them.
void set_canvas_size(int w, int h);

// Viewport (0, 0, w, h) and the canvas projection for w x h.
void set_projection(int w, int h);

// Runs a pass at another resolution: W and H become w x h with viewport and
// projection to match, and are restored (with the canvas projection) afterwards.
class ScopedResolution {
 public:
  ScopedResolution(int w, int h);
  ~ScopedResolution();
  ScopedResolution(const ScopedResolution&) = delete;
  ScopedResolution& operator=(const ScopedResolution&) = delete;

 private:
  int saved_w_, saved_h_;
};

// The full-canvas quad in the current projection.
void full_quad();

// A textured quad covering the rectangle at (x, y) of size w x h, with the
// canvas convention: its top-left corner shows texture coordinate (0, 1), its
// bottom-right (1, 0).
void textured_rect(float x, float y, float w, float h);

struct QuadCorners {
  bool full = false;                                  // fell back to the full quad
  std::array<std::array<float, 2>, 4> pos{}, uv{};    // corner order as drawn
};

// The square around brush centre (x, y) with radius r, widened and shifted by
// the per-frame offset (dx, dy) in texture units; r acts as at least 10, and a
// radius beyond the canvas width or height falls back to the full quad.
QuadCorners region_quad_corners(float x, float y, float r, float dx, float dy);
void region_quad(float x, float y, float r, float dx, float dy);

}  // namespace gpu
