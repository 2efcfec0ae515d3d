#include "app/view.h"

ViewState view;

void centre_view(float screen_w, float screen_h, int canvas_w, int canvas_h) {
  view.offset.x = screen_w / 2 - float(canvas_w) * view.zoom / 2;
  view.offset.y = screen_h / 2 - float(canvas_h) * view.zoom / 2;
}

void reset_frame_corners(int canvas_w, int canvas_h) {
  const float w = float(canvas_w), h = float(canvas_h);
  const vec2d at[4] = {vec2d::Create(5, 5), vec2d::Create(w - 5, 5), vec2d::Create(w - 5, h - 5),
                       vec2d::Create(5, h - 5)};
  for (int i = 0; i < 4; ++i) view.frame_corners[i] = corner::Create(at[i]);
}
