#pragma once
// Rectangles of canvas pixels that a frame changed, and the scissor that
// keeps a pass inside one. Canvas pixels count from the top-left corner, y
// down, as the canvas projection does; texture row 0 is the bottom.
#include <optional>

namespace gpu {

struct PixelRect {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // [x0, x1) x [y0, y1)

  bool empty() const { return x1 <= x0 || y1 <= y0; }
  bool operator==(const PixelRect&) const = default;
  double area() const { return empty() ? 0.0 : double(x1 - x0) * double(y1 - y0); }
  // Grown by m pixels on every side.
  PixelRect grown(int m) const { return {x0 - m, y0 - m, x1 + m, y1 + m}; }
  PixelRect clipped(int w, int h) const;
  // The smallest rectangle holding both; an empty one adds nothing.
  PixelRect united(const PixelRect& o) const;
  bool covers(int w, int h) const { return x0 <= 0 && y0 <= 0 && x1 >= w && y1 >= h; }
  // Every pixel of `o` lies inside; an empty one lies inside any.
  bool contains(const PixelRect& o) const {
    return o.empty() || (x0 <= o.x0 && y0 <= o.y0 && x1 >= o.x1 && y1 >= o.y1);
  }
  // The pixels a float box touches, rounded outwards.
  static PixelRect around(float x0, float y0, float x1, float y1);
};

// While alive, drawing into the bound target (`scale` times the w x h
// canvas) is limited to `rect`, scaled; with no rect it changes nothing. The
// scissor it replaced comes back afterwards, so scopes nest.
class ScopedScissor {
 public:
  ScopedScissor(const std::optional<PixelRect>& rect, int scale, int w, int h);
  ~ScopedScissor();
  ScopedScissor(const ScopedScissor&) = delete;
  ScopedScissor& operator=(const ScopedScissor&) = delete;

 private:
  bool on_ = false;
  bool was_enabled_ = false;
  int was_box_[4] = {};
};

}  // namespace gpu
