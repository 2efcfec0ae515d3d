#pragma once
// Test helpers: paint plain rectangles into buffers and read pixels back in
// picture coordinates (row 0 at the top).
#include <array>
#include <vector>

#include "gpu/buffer.h"
#include "gpu/display.h"

// Fills the rectangle [x0, x1) x [y0, y1) of canvas pixels of `b` with `rgba`
// (no blending, no texture).
void fill_rect(const gpu::Buffer& b, float x0, float y0, float x1, float y1, std::array<float, 4> rgba);

// Sets display settings and the canvas record to their start values, with
// the given switches.
void reset_display(bool high_quality, bool dither);

// Renders the layer stack into view_image with nothing else on screen.
void render(const gpu::DisplayInputs& in = {});

struct Picture {
  int w = 0, h = 0;
  std::vector<float> px;  // RGBA, row 0 = top of the picture
  std::array<float, 4> at(int x, int y) const;
  // Largest channel difference (rgb) to `o` over the rectangle.
  float max_diff(const Picture& o, int x0, int y0, int x1, int y1) const;
};

// An RGBA16F buffer as a picture.
Picture read_picture(const gpu::Buffer& b);
// A one-channel buffer's red values, row 0 = top.
std::vector<float> read_red(GLuint tex, int w, int h);
