#include "app/frame.h"

#include "app/app_state.h"
#include "app/brush_image_frame.h"
#include "app/color_mixer.h"
#include "app/crop_mode.h"
#include "app/file_requests.h"
#include "app/floating_panels.h"
#include "app/frame_changes.h"
#include "app/frame_profile.h"
#include "app/frame_state.h"
#include "app/guide_gestures.h"
#include "app/keys.h"
#include "app/lasso.h"
#include "app/layer_fx.h"
#include "app/main_panel_frame.h"
#include "app/mode_requests.h"
#include "app/navigation.h"
#include "app/pen_input.h"
#include "app/status.h"
#include "app/stroke_region.h"
#include "app/tool_keys.h"
#include "app/value_dial.h"
#include "app/view.h"
#include "app/window_modes.h"
#include "brush/brush_settings.h"
#include "brush/stroke.h"
#include "document/color_model.h"
#include "document/color_settings.h"
#include "gpu/canvas_buffers.h"
#include "gpu/display.h"
#include "gpu/display_settings.h"
#include "gpu/flow_activity.h"
#include "gpu/geometry.h"
#include "gpu/guide.h"
#include "gpu/simulation.h"
#include "gpu/simulation_settings.h"
#include "layers/layer.h"
#include "layers/layer_display.h"
#include "platform/gl.h"

namespace {

int canvas_w() {
  return gpu::geometry.width;
}
int canvas_h() {
  return gpu::geometry.height;
}

// True when the client size changed (either side: 1000 x 700 to 900 x 800
// is a change too). The canvas is centred again, the crop frame with it.
bool follow_window_size(Session& s) {
  int w = 0, h = 0;
  s.window.client_size(&w, &h);
  if (app.screen_w == float(w) && app.screen_h == float(h)) return false;
  update_canvas_rect(app.screen_h, canvas_w(), canvas_h());
  const vec2d before = view.top_left;
  app.screen_w = float(w);
  app.screen_h = float(h);
  centre_view(app.screen_w, app.screen_h, canvas_w(), canvas_h());
  move_crop_frame(view.top_left.subv(before));
  if (w > 0 && h > 0) gpu::canvas_buffers.screen_copy = gpu::Buffer::create(w, h, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  return true;
}

unsigned char read_modifiers(platform::Input& in) {
  return static_cast<unsigned char>((in.key_down("Left Shift") || in.key_down("Right Shift") ? 1 : 0) |
                                    (in.key_down("Left Ctrl") || in.key_down("Right Ctrl") ? 2 : 0) |
                                    (in.key_down("Left Alt") || in.key_down("Right Alt") ? 4 : 0));
}

bool mirrored() {
  return frame_state.mirror_side != 0 && !frame_state.space_gesture && !frame_state.angle_gesture;
}

StrokeInput stroke_input(Session& s) {
  const FrameState& f = frame_state;
  StrokeInput in;
  in.x = mirrored() ? float(canvas_w()) - f.stroke_pos.x : f.stroke_pos.x;
  in.y = f.stroke_pos.y;
  in.dx = mirrored() ? -f.movement_norm.x : f.movement_norm.x;
  in.dy = f.movement_norm.y;
  in.size = f.radius;
  in.base_size = brush_settings.size;
  in.pressure = f.stroke_pressure;
  in.opacity_factor = f.opacity_factor;
  in.direction = f.direction;
  in.tool = static_cast<ToolMode>(f.tool_mode);
  in.stroke_length = f.stroke_seed;
  // Without a live pen the mouse-simulated pressure stands in for it.
  in.pen_factor = app.pen_active ? app.pen_pressure : f.stroke_pressure;
  in.tilt_azimuth = mirrored() ? -f.tilt[0] : f.tilt[0];
  in.tilt_altitude = f.tilt[1];
  in.z_held = s.input.key_down("Z");
  for (int i = 0; i < 4; ++i) in.colour[i] = color_settings.current[i];
  const gpu::canvas& c = gpu::canvas_settings;
  in.canvas_grain = c.show && c.strength > 0;
  in.canvas_height = gpu::canvas_buffers.canvas_height.texture();
  in.fluidity = gpu::simulation_settings.fluidity;
  in.warp_mode = modes.warp_mode;
  brush_image_stroke_input(in);
  return in;
}

void paint(Session& s, bool gesture) {
  FrameState& f = frame_state;
  const bool allowed = !gui_blocks_painting(app.gui_flags) && !gesture;
  f.painting =
      app.mouse_left && allowed && f.nav == Nav::none && !(app.modifier_keys & 4) && !modes.crop_mode && layers.active;
  if (f.painting) {
    stroke_frame(stroke_input(s));
  } else if (!app.mouse_left && stroke.started) {
    stroke_end();
  }
}

// The brush-mode panel's requests, taken between strokes.
void serve_panel_requests(Session& s) {
  PanelRequests& r = panel_requests;
  if (r.brush_mode != PanelRequests::none && !stroke.started) {
    frame_state.brush_mode = r.brush_mode;
    r.brush_mode = PanelRequests::none;
  }
  if (r.clear_layer) {
    r.clear_layer = 0;
    clear_active_layer();
  }
  serve_mode_requests(s.window, s.input);
}

// Returns the canvas pixels the simulation's passes may have changed. With
// `whole_canvas` it copies and clears over the whole canvas, as a full
// redraw must.
gpu::PixelRect simulate(bool whole_canvas) {
  layer* l = layers.active;
  if (!l) return {};
  StageClock clock(frame_profile.simulation);
  const FrameState& f = frame_state;
  gpu::SimulationFrame sf;
  sf.paint = {l->fbo_colID(), l->fbo_col(), l->fbo_matID(), l->fbo_mat()};
  sf.brush_x = mirrored() ? float(canvas_w()) - f.stroke_pos.x : f.stroke_pos.x;
  sf.brush_y = f.stroke_pos.y;
  sf.brush_radius = f.radius;
  sf.motion_x = mirrored() ? -f.movement.x : f.movement.x;
  sf.motion_y = f.movement.y;
  sf.dab = f.painting;
  sf.warp_mode = modes.warp_mode;
  sf.mask_active = modes.mask_mode != 0;
  sf.whole_canvas = whole_canvas;
  const gpu::SimulationStats stats = gpu::simulate_frame(sf);
  frame_profile.simulation.pixels += stats.pixels;
  return stats.touched;
}

// Where the active layer's paint changed this frame, when that is all that
// changed since the last display: what the stroke laid and what the
// simulation moved. None when the whole picture must be redone.
std::optional<gpu::PixelRect> changed_paint(const FrameChanges& c, const gpu::PixelRect& simulated) {
  if (c.forced || c.settings) return std::nullopt;
  gpu::PixelRect r = simulated;
  if (frame_state.painting) {
    const std::optional<gpu::PixelRect> laid = stroke_region(modes.warp_mode);
    if (!laid) return std::nullopt;
    r = r.united(*laid);
  }
  return r;
}

// Returns the canvas pixels the display redid.
gpu::PixelRect display(const std::optional<gpu::PixelRect>& changed, bool guide) {
  StageClock clock(frame_profile.display);
  gpu::DisplayInputs in;
  in.warp_mode = modes.warp_mode;
  in.zoom = view.zoom;
  in.mask_view = modes.mask_mode != 0;
  if (guide) in.perspective_guide = [] { gpu::draw_guide(gpu::guide_settings, canvas_w(), canvas_h()); };
  lasso_display(in);
  in.placing_picture = placement_preview();
  in.changed = changed;
  const gpu::PixelRect redone = display_layers(in);
  frame_profile.display.pixels += redone.area();
  return redone;
}

gpu::ViewTransform window_transform() {
  gpu::ViewTransform t = view_transform(app.screen_w, app.screen_h);
  t.after_rebuild = layers.changed;
  return t;
}

// The client pixels the window draw redoes: where the redone part of the
// picture lies, when only the picture changed and the screen still holds the
// rest. None for the whole window.
std::optional<gpu::PixelRect> window_region(Session& s, const FrameChanges& c,
                                            const std::optional<gpu::PixelRect>& redone) {
  if (!redone || !s.window.keeps_screen() || c.forced || c.window || c.view || c.gui) return std::nullopt;
  return gpu::screen_region(window_transform(), *redone);
}

// Adds `r` to the window pixels to redraw this frame.
void redraw_also(Session& s, FrameChanges& c, std::optional<gpu::PixelRect>& on_screen, const gpu::PixelRect& r) {
  if (!c.draw_window())
    on_screen = s.window.keeps_screen() ? std::optional(r) : std::nullopt;
  else if (on_screen)
    on_screen = on_screen->united(r);
  c.gui = true;
}

}  // namespace

void pick_displayed_color(float x, float y, float screen_h) {
  unsigned char px[4] = {0, 0, 0, 0};
  glReadPixels(GLint(x), GLint(screen_h - 1 - y), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
  document::set_color(px[0] / 255.0f, px[1] / 255.0f, px[2] / 255.0f);
}

FrameChanges frame_work(Session& s) {
  FrameState& f = frame_state;
  platform::Input& in = s.input;

  // 1. window size; the view spins while view_spin is not 0
  const bool resized = follow_window_size(s);
  if (app.screen_w <= 0 || app.screen_h <= 0) return FrameChanges{};
  if (view.spin != 0) view.angle += view.spin;
  update_canvas_rect(app.screen_h, canvas_w(), canvas_h());

  // 3. modifiers; 6. pen
  app.modifier_keys = read_modifiers(in);
  sample_pen_packet(frame_state);

  // 7. pointer, direction, pressure
  PointerFrame pf;
  in.mouse_position(&pf.mouse.x, &pf.mouse.y);
  pf.screen_w = app.screen_w;
  pf.screen_h = app.screen_h;
  pf.left = app.mouse_left;
  pf.right = app.mouse_right;
  pf.pen_active = app.pen_active;
  pf.pen_pressure = app.pen_pressure;
  pf.modifiers = app.modifier_keys;
  pf.app_active = app.app_active;
  if (app.refresh_after_resume) {
    app.refresh_after_resume = false;
    reset_pointer(f, pf.mouse);
  }
  update_pointer(f, pf);
  update_direction(f, app.pen_active);
  update_pressure(f, pf);

  // 5. F2 and the crop frame; 8. keys
  KeyContext keys{in, s.dialogs, s.window, app.screen_w, app.screen_h};
  desktop_pick(keys);
  const bool crop_gesture = crop_frame_work(keys, f.raw, app.mouse_left, app.mouse_right);
  poll_frame_keys(keys);
  const bool guide_gesture = guide_drags(f, app.modifier_keys, app.mouse_left, app.mouse_right);

  // 10. wheel
  guide_wheel(in, app.modifier_keys);
  wheel_zoom(in, app.screen_w, app.screen_h);

  // 11. tool mode, navigation, painting
  update_radius(f);
  update_tool_mode(f, app.modifier_keys, app.mouse_right);
  const bool gesture = brush_gesture(f, app.mouse_left) || f.dial_gesture || guide_gesture || crop_gesture;
  NavigationInput nav;
  nav.modifiers = app.modifier_keys;
  nav.left = app.mouse_left;
  nav.right = app.mouse_right;
  nav.left_pressed = app.mouse_left && !f.was_left;
  nav.right_pressed = app.mouse_right && !f.was_right;
  nav.screen_w = app.screen_w;
  nav.screen_h = app.screen_h;
  gui_pointer_pass(f.raw);
  poll_late_keys(keys);
  color_mixer_pointer_pass(f.raw);
  serve_brush_image_requests(s.dialogs);
  const bool corner_drag = drag_capture_handles(f.rotated_pos, app.mouse_left, nav.left_pressed);
  const bool lassoing =
      lasso_gesture(in, app.modifier_keys, app.mouse_left, nav.left_pressed && !corner_drag, f.rotated_pos);
  navigate(nav);
  f.was_left = app.mouse_left;
  f.was_right = app.mouse_right;
  const bool stroke_was_on = stroke.started;
  paint(s, gesture || corner_drag || lassoing);
  note_stroke_image();
  if (stroke_was_on && !stroke.started) document::dance_hue();
  serve_panel_requests(s);
  serve_main_panel_requests(s);
  serve_layer_fx();
  // The brush may have written the velocity field.
  if (f.painting) gpu::flow_unknown();

  // 13. brush-image capture, of the paint as it was laid
  capture_step();

  // Only the stages whose inputs changed run; an unchanged frame presents
  // nothing and the window keeps the last picture.
  const bool guide = guide_visible(in);
  FrameChanges c = change_tracker.take(f.painting, stroke_was_on && !stroke.started, resized, f.color_pick_request);
  if (capture_overlay_changed()) c.gui = true;

  // 12. simulation; 14. display
  const gpu::PixelRect simulated = c.simulate() ? simulate(c.forced) : gpu::PixelRect{};
  std::optional<gpu::PixelRect> redone;
  if (c.display()) redone = display(changed_paint(c, simulated), guide);
  std::optional<gpu::PixelRect> on_screen = window_region(s, c, redone);
  if (on_screen) on_screen = on_screen->united(panels_near(*on_screen));
  const int sw = int(app.screen_w), sh = int(app.screen_h);
  // The pointer is drawn over the window: where it was and where it is now
  // are redrawn with whatever else changed, or alone when nothing else did.
  // Between strokes the outline shows the size a full press paints.
  const float pointer_radius = (f.painting ? f.radius : brush_settings.size) * view.zoom;
  if (const std::optional<gpu::PixelRect> moved = pointer_moved(f.raw, pointer_radius))
    redraw_also(s, c, on_screen, *moved);
  if (const std::optional<gpu::PixelRect> panels = panels_changed()) redraw_also(s, c, on_screen, *panels);
  if (c.draw_window()) {
    StageClock clock(frame_profile.gui);
    gpu::ScopedScissor scissor(on_screen, 1, sw, sh);
    s.window.bind_screen();
    gpu::ViewTransform t = window_transform();
    t.skip_mipmaps = on_screen && t.zoom >= 1 && t.angle == 0;
    gpu::draw_view(t);
    frame_profile.gui.pixels += on_screen ? on_screen->area() : double(sw) * double(sh);
  }
  serve_file_requests(s);

  if (c.draw_window()) {
    StageClock clock(frame_profile.gui);
    gpu::ScopedScissor scissor(on_screen, 1, sw, sh);
    // 15. colour pick, from the finished picture on screen
    s.window.bind_screen();
    if (f.color_pick_request) {
      f.color_pick_request = false;
      pick_displayed_color(f.raw.x, f.raw.y, app.screen_h);
    }

    // 17. status text
    if (!panels_hidden()) draw_status_text(app.screen_w, app.screen_h);
    draw_capture_quad(app.screen_w, app.screen_h);
    draw_crop_frame(app.screen_w, app.screen_h);
    draw_panels_and_pointer(f.raw, pointer_radius, on_screen);
    // The dial at the pointer is in window pixels too, and the canvas's
    // projection is what the next frame's passes find.
    gpu::set_projection(sw, sh);
    draw_value_dial();
    gpu::set_projection(canvas_w(), canvas_h());
  }
  layers.changed = false;
  if (!app.mouse_left && !app.mouse_right) app.gui_flags &= ~gui_flag::navigation;
  return c;
}
