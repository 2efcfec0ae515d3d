#include "app/crop_mode.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "app/app_state.h"
#include "app/mask_mode.h"
#include "app/text.h"
#include "app/view.h"
#include "document/color_settings.h"
#include "document/frame_settings.h"
#include "gpu/geometry.h"
#include "layers/canvas_setup.h"
#include "platform/gl.h"

CropFrame crop_frame;

namespace {

constexpr float handle_reach = 12;  // window pixels around a corner that grab it
constexpr float handle_inset = 5;   // the handles are drawn this far inside the corners

vec2d corner_at(const CropFrame& c, int i) {
  return vec2d::Create(i == 0 || i == 3 ? c.top_left.x : c.bottom_right.x, i < 2 ? c.top_left.y : c.bottom_right.y);
}

void move_corner(CropFrame& c, int i, vec2d p) {
  (i == 0 || i == 3 ? c.top_left.x : c.bottom_right.x) = p.x;
  (i < 2 ? c.top_left.y : c.bottom_right.y) = p.y;
}

struct Box {
  float x0, y0, x1, y1;
};
Box ordered(vec2d a, vec2d b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

int handle_under(const CropFrame& c, vec2d p) {
  const Box b = ordered(c.top_left, c.bottom_right);
  for (int i = 0; i < 4; ++i) {
    const vec2d k = corner_at(c, i);
    // The handle sits inside the corner, wherever the frame's inside is.
    const float hx = k.x + (k.x == b.x0 ? handle_inset : -handle_inset);
    const float hy = k.y + (k.y == b.y0 ? handle_inset : -handle_inset);
    if (std::fabs(p.x - hx) <= handle_reach && std::fabs(p.y - hy) <= handle_reach) return i;
  }
  return -1;
}

int canvas_w() {
  return gpu::geometry.width;
}
int canvas_h() {
  return gpu::geometry.height;
}

void enter(KeyContext& k) {
  // The frame is a rectangle in window pixels: the view must stand upright
  // and stay so.
  view.angle = view.spin = 0;
  update_canvas_rect(k.screen_h, canvas_w(), canvas_h());
  crop_frame = CropFrame{view.top_left, view.bottom_right};
  crop_frame.was_left = app.mouse_left;
  crop_frame.was_right = app.mouse_right;
  modes.crop_mode = true;
}

void leave() {
  modes.crop_mode = false;
  crop_frame.dragged = -1;
  crop_frame.over = false;
}

void after_new_size(KeyContext& k) {
  reset_frame_corners(canvas_w(), canvas_h());
  centre_view(k.screen_w, k.screen_h, canvas_w(), canvas_h());
}

void apply(KeyContext& k) {
  const Box b = ordered(crop_frame.top_left, crop_frame.bottom_right);
  leave();
  const std::optional<std::pair<int, int>> size = cropped_size(crop_frame.top_left, crop_frame.bottom_right, view.zoom);
  if (!size) return;
  const float z = view.zoom;
  set_mask_mode(false);
  // The pixel under the frame's top-left corner becomes the new origin.
  const float ox = (view.top_left.x - b.x0) / z, oy = (view.top_left.y - b.y0) / z;
  if (resize_canvas(size->first, size->second, std::trunc(ox), std::trunc(oy), int(k.screen_w), int(k.screen_h)))
    after_new_size(k);
}

void step_canvas(KeyContext& k, bool twice) {
  const std::optional<std::pair<int, int>> size = stepped_canvas_size(canvas_w(), canvas_h(), twice);
  if (!size) return;
  const auto [w, h] = *size;
  const std::string question = "Start a new canvas of " + std::to_string(w) + " x " + std::to_string(h) +
                               "? Every layer of this one is dropped.";
  k.window.set_title("Change Resolution...");
  const platform::Answer a = k.dialogs.confirm("Change Resolution...", question);
  k.window.set_title(app.title);
  if (a != platform::Answer::ok) return;
  start_new_canvas(k, w, h);
}

}  // namespace

void cancel_crop() {
  leave();
}

void move_crop_frame(vec2d by) {
  crop_frame.top_left = crop_frame.top_left.addv(by);
  crop_frame.bottom_right = crop_frame.bottom_right.addv(by);
}

bool start_new_canvas(KeyContext& k, int w, int h) {
  // The old frame would crop the new canvas at the next click.
  cancel_crop();
  set_mask_mode(false);
  // The warp map of the old canvas does not fit the new one.
  modes.warp_mode = false;
  if (!create_canvas(w, h, color_settings.current, int(k.screen_w), int(k.screen_h))) return false;
  view.zoom = view.zoom_reference = 1;
  after_new_size(k);
  return true;
}

std::optional<std::pair<int, int>> stepped_canvas_size(int w, int h, bool twice) {
  const long nw = twice ? long(w) * 2 : long(w / 2), nh = twice ? long(h) * 2 : long(h / 2);
  if (nw > max_canvas_side || nh > max_canvas_side || !valid_canvas_size(int(nw), int(nh))) return std::nullopt;
  return std::pair{int(nw), int(nh)};
}

std::optional<std::pair<int, int>> cropped_size(vec2d a, vec2d b, float zoom) {
  if (!(zoom > 0)) return std::nullopt;
  const Box box = ordered(a, b);
  const double w = std::trunc((double(box.x1) - box.x0) / zoom), h = std::trunc((double(box.y1) - box.y0) / zoom);
  if (!(w >= 1 && h >= 1 && w <= max_canvas_side && h <= max_canvas_side)) return std::nullopt;
  if (!valid_canvas_size(int(w), int(h))) return std::nullopt;
  return std::pair{int(w), int(h)};
}

bool crop_frame_work(KeyContext& k, vec2d pointer, bool left, bool right) {
  platform::Input& in = k.input;
  const unsigned char mods = app.modifier_keys;
  CropFrame& c = crop_frame;
  // "MENU:CROP" switches crop mode on or off.
  if (std::exchange(frame_settings.crop_request, 0)) {
    if (modes.crop_mode)
      leave();
    else
      enter(k);
  }
  if (in.key_hit("F2")) {
    if (mods == 1) {
      if (modes.crop_mode)
        apply(k);
      else
        enter(k);
    } else if (mods == 2 || mods == 3) {
      step_canvas(k, mods == 2);
    } else {
      leave();
    }
  }
  // The press that ended crop mode paints nothing until it is released.
  if (c.press_ends_mode && !left && !right) c.press_ends_mode = false;
  if (!modes.crop_mode) return c.press_ends_mode;

  const bool left_pressed = left && !c.was_left, right_pressed = right && !c.was_right;
  c.was_left = left;
  c.was_right = right;
  // Alt belongs to the view navigation, which keeps working in crop mode.
  if (mods & 4) return false;
  if (!left) c.dragged = -1;
  if (left_pressed) c.dragged = handle_under(c, pointer);
  if (c.dragged >= 0) {
    move_corner(c, c.dragged, pointer);
    return true;
  }
  const Box b = ordered(c.top_left, c.bottom_right);
  c.over = pointer.x >= b.x0 && pointer.x <= b.x1 && pointer.y >= b.y0 && pointer.y <= b.y1;
  // A handle takes the press before the inside of the frame does.
  if (c.over && (left_pressed || right_pressed)) {
    c.press_ends_mode = true;
    if (left_pressed)
      apply(k);
    else
      leave();
  }
  return true;
}

void add_crop_state(std::vector<float>& out) {
  const CropFrame& c = crop_frame;
  out.insert(out.end(),
             {float(modes.crop_mode), c.top_left.x, c.top_left.y, c.bottom_right.x, c.bottom_right.y, float(c.over)});
}

void draw_crop_frame(float screen_w, float screen_h) {
  if (!modes.crop_mode) return;
  const CropFrame& c = crop_frame;
  const Box b = ordered(c.top_left, c.bottom_right);
  gpu::set_projection(int(screen_w), int(screen_h));
  glUseProgram(0);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLineWidth(1);
  // Dark under light, so the frame reads on any picture.
  for (int pass = 0; pass < 2; ++pass) {
    const float o = pass == 0 ? 1.0f : 0.0f, shade = pass == 0 ? 0.0f : 1.0f;
    glColor4f(shade, shade, shade, c.over ? 0.9f : 0.6f);
    glBegin(GL_LINE_LOOP);
    glVertex2f(b.x0 + 0.5f + o, b.y0 + 0.5f + o);
    glVertex2f(b.x1 - 0.5f + o, b.y0 + 0.5f + o);
    glVertex2f(b.x1 - 0.5f + o, b.y1 - 0.5f + o);
    glVertex2f(b.x0 + 0.5f + o, b.y1 - 0.5f + o);
    glEnd();
  }
  glColor4f(1, 1, 1, 0.8f);
  for (int i = 0; i < 4; ++i) {
    const vec2d k = corner_at(c, i);
    const float hx = k.x + (k.x == b.x0 ? handle_inset : -handle_inset);
    const float hy = k.y + (k.y == b.y0 ? handle_inset : -handle_inset);
    glBegin(GL_QUADS);
    glVertex2f(hx - 3, hy - 3);
    glVertex2f(hx + 3, hy - 3);
    glVertex2f(hx + 3, hy + 3);
    glVertex2f(hx - 3, hy + 3);
    glEnd();
  }
  glEnable(GL_TEXTURE_2D);
  const std::optional<std::pair<int, int>> size = cropped_size(c.top_left, c.bottom_right, view.zoom);
  char text[96];
  if (size)
    std::snprintf(text, sizeof text, "w:%d h:%d\n[LMB]:confirm\n[RMB]:cancel", size->first, size->second);
  else
    std::snprintf(text, sizeof text, "w:- h:-\n[RMB]:cancel");
  const float x = std::clamp(b.x0 + 8, 4.0f, std::max(4.0f, b.x1 - text_width(text, 1) - 4));
  const float y = std::clamp(b.y1 - 52, 4.0f, std::max(4.0f, screen_h - 52));
  glColor4f(1, 1, 1, 1);
  draw_text(text, x, y, 1);
  gpu::set_projection(canvas_w(), canvas_h());
}
