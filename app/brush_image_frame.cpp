#include "app/brush_image_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/view.h"
#include "brush/brush_settings.h"
#include "document/brush_images.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "platform/gl.h"
#include "ui/brush_image_panel.h"
#include "ui/handle.h"

namespace {

using document::brush_images;

constexpr float handle_size = 12;

struct CaptureState {
  std::array<std::shared_ptr<handle>, 4> quad;
  int dragged = -1;      // the corner being dragged
  bool snap = false;     // the snap is asked for
  bool placing = false;  // the current image is shown laid into the quad
  bool commit = false;   // the placement is to be laid into the layer
  bool changed = true;   // the overlay must be drawn again
  std::vector<BrushImageRef> refs;
};
CaptureState capture;

// The quad's handles, made at the canvas centre the first time and whenever
// the handle list was emptied (a reset of the application).
std::array<std::shared_ptr<handle>, 4>& quad_handles() {
  auto& q = capture.quad;
  const bool listed = q[0] && std::find(handle_list.begin(), handle_list.end(), q[0]) != handle_list.end();
  if (!listed) {
    const auto corners = document::default_capture_quad(gpu::geometry.width, gpu::geometry.height);
    for (std::size_t i = 0; i < 4; ++i) q[i] = handle::Create(corners[i], handle_size);
  }
  return q;
}

// Where canvas point p shows in the window: the pointer pipeline's rotation
// about the client centre undone.
vec2d screen_of(const vec2d& p, float screen_w, float screen_h) {
  const float a = view.angle * 3.14159265f / 180.0f;
  const float c = std::cos(a), s = std::sin(a);
  const float rx = view.top_left.x + p.x * view.zoom - 0.5f * screen_w;
  const float ry = view.top_left.y + p.y * view.zoom - 0.5f * screen_h;
  return vec2d::Create(0.5f * screen_w + c * rx - s * ry, 0.5f * screen_h + s * rx + c * ry);
}

void take_snap() {
  const Result<int> r = document::capture_brush_image(capture_quad(), brush_images.options.perspective != 0);
  if (!r) std::fprintf(stderr, "ollan: no brush image taken: %s\n", r.error().message.c_str());
}

void lay_current_image() {
  const Result<void> r = document::apply_brush_image(brush_images.current, capture_quad());
  if (!r) std::fprintf(stderr, "ollan: no brush image laid: %s\n", r.error().message.c_str());
}

bool agreed(platform::Answer a) {
  return a == platform::Answer::ok || a == platform::Answer::yes;
}

// I, or the panel's "i": starts a capture, or asks for the snap of one in
// progress, or for the placement shown to be laid.
void capture_request() {
  if (modes.capture_mode == 0)
    modes.capture_mode = 2;
  else if (capture.placing)
    capture.commit = true;
  else
    capture.snap = true;
}

// While the quad is shown: the current image is placed into it, or the
// placement shown is to be laid.
void place_request() {
  if (capture.placing)
    capture.commit = true;
  else if (brush_images.current >= 0)
    capture.placing = true;
}

}  // namespace

std::array<vec2d, 4> capture_quad() {
  std::array<vec2d, 4> out;
  const auto& q = quad_handles();
  for (std::size_t i = 0; i < 4; ++i) out[i] = q[i]->p;
  return out;
}

void set_capture_quad(const std::array<vec2d, 4>& quad) {
  auto& q = quad_handles();
  for (std::size_t i = 0; i < 4; ++i) q[i]->p = quad[i];
  capture.changed = true;
}

void brush_image_key(KeyContext& k) {
  if (app.modifier_keys == 0) {
    capture_request();
    return;
  }
  if (app.modifier_keys != 1) return;
  if (modes.capture_mode == 1) {
    place_request();
    return;
  }
  if (modes.capture_mode != 0 || brush_images.list.empty()) return;
  k.window.set_title("Brush Images...");
  const platform::Answer a = k.dialogs.confirm("Brush Images...", "Remove every brush image?");
  k.window.set_title(app.title);
  if (agreed(a)) document::clear_brush_images();
  k.input.flush_keys();
}

void request_placement_commit() {
  capture.commit = true;
}

void capture_step() {
  if (modes.capture_mode == 0) {
    capture.snap = capture.placing = capture.commit = false;
    capture.dragged = -1;
    return;
  }
  if (modes.capture_mode == 2) {
    modes.capture_mode = 1;
    capture.changed = true;
    return;
  }
  // A commit with nothing placed lays nothing.
  const bool lay = capture.commit && capture.placing;
  capture.commit = false;
  if (!lay && !capture.snap) return;
  if (lay)
    lay_current_image();
  else
    take_snap();
  capture.snap = capture.placing = false;
  capture.dragged = -1;
  modes.capture_mode = 0;
  capture.changed = true;
}

bool drag_capture_handles(vec2d canvas_pointer, bool left, bool pressed) {
  if (modes.capture_mode != 1 || !left) {
    capture.dragged = -1;
    return false;
  }
  auto& q = quad_handles();
  if (capture.dragged < 0) {
    if (!pressed) return false;
    // A corner is under the pointer within 0.75 of its size on screen.
    const float reach = 0.75f * handle_size / std::max(view.zoom, 1e-3f);
    for (std::size_t i = 0; i < 4 && capture.dragged < 0; ++i) {
      if (std::hypot(canvas_pointer.x - q[i]->p.x, canvas_pointer.y - q[i]->p.y) < reach) {
        capture.dragged = int(i);
        q[i]->offset = canvas_pointer.subv(q[i]->p);
      }
    }
    if (capture.dragged < 0) return false;
  }
  handle& h = *q[std::size_t(capture.dragged)];
  const vec2d p = canvas_pointer.subv(h.offset);
  if (p.x != h.p.x || p.y != h.p.y) capture.changed = true;
  h.p = p;
  return true;
}

void serve_brush_image_requests(platform::Dialogs& dialogs) {
  ui::BrushImageRequests& r = ui::brush_image_requests;
  document::BrushImageOptions& o = brush_images.options;
  for (auto [request, option] : {std::pair{&r.use, &o.use}, std::pair{&r.colour, &o.colour},
                                 std::pair{&r.perspective, &o.perspective}, std::pair{&r.grain, &o.grain}}) {
    if (*request) *option ^= 1;
    *request = 0;
  }
  if (r.capture) capture_request();
  r.capture = 0;
  if (r.pick != ui::BrushImageRequests::none && r.pick < brush_images.list.size()) {
    if (app.modifier_keys == 1) {
      if (agreed(dialogs.confirm("Brush Images...", "Remove brush image " + std::to_string(r.pick) + "?")))
        document::remove_brush_image(r.pick);
    } else {
      brush_images.current = r.pick;
      // Ctrl+click places the image into the quad shown.
      if (app.modifier_keys == 2 && modes.capture_mode == 1) capture.placing = true;
    }
  }
  r.pick = ui::BrushImageRequests::none;
}

void brush_image_stroke_input(StrokeInput& in) {
  capture.refs.clear();
  for (const auto& image : brush_images.list) capture.refs.push_back({image->col.texture(), image->mat.texture()});
  in.images = capture.refs;
  in.current_image = brush_images.current;
  const document::BrushImageOptions& o = brush_images.options;
  in.use_image = o.use != 0;
  in.image_colour = o.colour != 0;
  in.image_grain = o.grain != 0;
}

void note_stroke_image() {
  if (stroke.started && stroke.image >= 0 && stroke.image < int(brush_images.list.size()))
    brush_images.current = stroke.image;
}

void draw_capture_quad(float screen_w, float screen_h) {
  if (modes.capture_mode != 1) return;
  const auto& q = quad_handles();
  vec2d s[4];
  for (std::size_t i = 0; i < 4; ++i) s[i] = screen_of(q[i]->p, screen_w, screen_h);
  gpu::set_projection(int(screen_w), int(screen_h));
  glUseProgram(0);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLineWidth(1);
  // The outline, dark under light so that it shows on any paint.
  for (const float shade : {0.0f, 1.0f}) {
    glColor4f(shade, shade, shade, 0.8f);
    glBegin(GL_LINE_LOOP);
    for (const vec2d& p : s) glVertex2f(p.x + (1 - shade), p.y + (1 - shade));
    glEnd();
  }
  // Each corner's marker is a disc of the handle's size as radius, with a
  // pixel of soft rim.
  const float r = q[0]->size;
  gpu::program(gpu::Prog::dab_soft).use().set("falloff", 1 - 1 / r);
  for (std::size_t i = 0; i < 4; ++i) {
    const auto& col = *q[i]->col;
    glColor4f(col[0], col[1], col[2], int(i) == capture.dragged ? 1.0f : col[3]);
    gpu::textured_rect(s[i].x - r, s[i].y - r, 2 * r, 2 * r);
  }
  glUseProgram(0);
  glEnable(GL_TEXTURE_2D);
  gpu::set_projection(gpu::geometry.width, gpu::geometry.height);
}

bool placement_preview() {
  if (!capture.placing || modes.capture_mode != 1 || modes.warp_mode) return false;
  const Result<void> r = document::preview_brush_image(brush_images.current, capture_quad());
  return r.ok();
}

void add_placement_state(std::vector<float>& out) {
  const bool shown = capture.placing && modes.capture_mode == 1;
  out.push_back(float(shown));
  if (!shown) return;
  out.push_back(float(brush_images.current));
  for (const vec2d& p : capture_quad()) out.insert(out.end(), {p.x, p.y});
}

bool capture_overlay_changed() {
  return std::exchange(capture.changed, false);
}
