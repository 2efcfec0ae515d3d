#pragma once
// A draggable point on the canvas, drawn and hit-tested through the
// application-wide handle list.
#include <array>
#include <memory>
#include <vector>

#include "base/vec.h"

struct handle {
  vec2d p;       // canvas pixels
  vec2d d;       // screen position, from update()
  vec2d offset;  // grab offset while dragged
  float size = 0;
  std::shared_ptr<std::array<float, 4>> col;  // shared by copy()
  std::shared_ptr<handle> child;

  // New handle at v, appended to the handle list.
  static std::shared_ptr<handle> Create(const vec2d& v, float size);
  // Screen position for the given view zoom and screen position of the canvas origin.
  void update(float zoom, const vec2d& view_offset);
  // Takes position, screen position, size and the very colour array of h.
  void copy(const handle& h);
};

// Every handle made by handle::Create; removing one from use removes it here.
extern std::vector<std::shared_ptr<handle>> handle_list;
