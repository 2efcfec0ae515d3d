#include "app/view.h"

ViewState view;

void centre_view(float screen_w, float screen_h, int canvas_w, int canvas_h) {
  view.offset.x = screen_w / 2 - float(canvas_w) * view.zoom / 2;
  view.offset.y = screen_h / 2 - float(canvas_h) * view.zoom / 2;
  update_canvas_rect(screen_h, canvas_w, canvas_h);
}

// The offset's y counts from the bottom, so the top edge lies the canvas's
// zoomed height above it.
void update_canvas_rect(float screen_h, int canvas_w, int canvas_h) {
  view.top_left = vec2d::Create(view.offset.x, screen_h - float(canvas_h) * view.zoom - view.offset.y);
  view.bottom_right = view.top_left.addv(vec2d::Create(float(canvas_w), float(canvas_h)).mul(view.zoom));
}

void zoom_about(float zoom, const vec2d& at, float screen_h, int canvas_w, int canvas_h) {
  const vec2d canvas_point = at.subv(view.top_left).mul(1.0f / view.zoom);
  view.zoom = zoom;
  const vec2d top_left = at.subv(canvas_point.mul(zoom));
  view.offset.x = top_left.x;
  view.offset.y = screen_h - float(canvas_h) * zoom - top_left.y;
  update_canvas_rect(screen_h, canvas_w, canvas_h);
}

void reset_frame_corners(int canvas_w, int canvas_h) {
  const float w = float(canvas_w), h = float(canvas_h);
  const vec2d at[4] = {vec2d::Create(5, 5), vec2d::Create(w - 5, 5), vec2d::Create(w - 5, h - 5),
                       vec2d::Create(5, h - 5)};
  for (int i = 0; i < 4; ++i) view.frame_corners[i] = corner::Create(at[i]);
}

gpu::ViewTransform view_transform(float screen_w, float screen_h) {
  gpu::ViewTransform t;
  t.zoom = view.zoom;
  t.offset_x = view.top_left.x;
  t.offset_y = view.top_left.y;
  t.angle = view.angle;
  t.centre_x = screen_w / 2;
  t.centre_y = screen_h / 2;
  t.screen_w = int(screen_w);
  t.screen_h = int(screen_h);
  return t;
}
