#pragma once
// Scripted strokes for the brush tests: a straight drag through the stroke
// entry, one frame per step, and read-back of the active layer by canvas pixel.
#include <array>
#include <string>
#include <vector>

#include "brush/stroke.h"

struct Drag {
  float x0, y0, x1, y1;
  int frames = 12;
  ToolMode tool = ToolMode::paint;
  float size = 20;
  float pressure = 1;
  bool z_held = false;
  float colour[4] = {0.1f, 0.3f, 0.9f, 1};
  float fluidity = 1;
  bool brush_images = false;  // the stroke gets the brush images as the frame gives them
  bool grain = false;         // the canvas grain is shown
};

// Paints the drag and releases the button.
void drag(const Drag& d);

// The active layer's amount and colour, indexed by canvas pixel (y down).
struct LayerPixels {
  int w = 0, h = 0;
  std::vector<float> mat, col;
  float amount(int x, int y) const { return mat[size_t(h - 1 - y) * w + x]; }
  const float* colour(int x, int y) const { return &col[(size_t(h - 1 - y) * w + x) * 4]; }
};
LayerPixels read_layer(bool undo = false);

// The mean colour where the paint is thick along row y, between x0 and x1;
// a test failure when fewer than 11 pixels there hold paint.
std::array<float, 3> paint_colour(const LayerPixels& p, int x0, int x1, int y);

// An input script's left-button drag from (x0, y0) to (x1, y1) in 8 frames,
// then the release and 2 frames.
std::string drag_script(int x0, int y0, int x1, int y1);
