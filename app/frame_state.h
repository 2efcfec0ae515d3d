#pragma once
// The frame cycle's state: the pointer records in their stages, the stroke
// pressure, the brush direction and radius, the modes and the navigation
// gesture in progress. Written by the frame (app/), read by the stroke and
// the status text through this header.
#include "base/vec.h"

enum class Nav { none, rotate, zoom, move };

struct FrameState {
  // Pointer records: raw and rotated in client pixels, y down.
  vec2d raw, rotated;
  vec2d smoothed, smooth_velocity;        // rotated pointer after the "MOUSE SPEED" smoothing
  vec2d stroke_pos, prev_stroke_pos;      // smoothed pointer in canvas pixels
  vec2d rotated_pos, prev_rotated_pos;    // rotated pointer in canvas pixels
  vec2d movement;                         // stroke_pos - prev_stroke_pos, canvas pixels
  vec2d movement_norm;                    // movement / (W, H)
  vec2d raw_movement;                     // rotated-pointer movement / (W, H)
  vec2d direction = vec2d::Create(0, 1);  // unit; its angle is the brush's orientation
  float stroke_pressure = 0, previous_pressure = 0, pressure_velocity = 0, pressure_target = 0;
  float opacity_factor = 1;
  float stroke_seed = 0;
  int mirror_side = 0;  // 1 left half, 2 right half of a split mirror: the stroke is mirrored

  float radius = 15, radius_min = 1;  // brush radius (the previous frame's until update_radius) and at zero pressure

  unsigned char brush_mode = 0;  // 0 paint, 1 smudge, 2 erase, 3 average
  unsigned char tool_mode = 0;   // the brush mode as the modifiers and the pen turn it this frame
  bool fixed_angle = false;      // the A key: the brush keeps fixed_angle_deg
  float fixed_angle_deg = 180;
  bool space_gesture = false;  // Space held: the drag sizes the brush instead of painting
  bool angle_gesture = false;  // Shift+A held: the drag turns the fixed brush angle
  bool gesture_anchored = false;
  vec2d gesture_anchor;  // the stroke position the gesture holds, canvas pixels

  bool dial_gesture = false;     // B or F held: the drag turns the value of a dial at the pointer
  float build_up_alternate = 1;  // Shift+B exchanges "BRUSH:BUILD UP" with this
  bool panels_hidden = false;    // Tab: panels and status text put aside

  // Pen sample of this frame (scripted or from the tablet).
  float tilt[2] = {0, 0};
  bool pen_eraser = false;

  // Navigation.
  Nav nav = Nav::none;
  vec2d press_point;      // rotated pointer at the press, client pixels
  vec2d press_offset;     // view offset at the press
  float press_angle = 0;  // angle of the raw pointer about the client centre at the press
  float press_view_angle = 0;
  bool color_pick_request = false;

  // Button state of the previous frame, for presses.
  bool was_left = false, was_right = false;
  bool painting = false;  // the left button paints this frame
};

extern FrameState frame_state;

// Pointer and pressure of one frame, from the state above and what was read
// this frame; see app/pointer.cpp.
struct PointerFrame {
  vec2d mouse;  // raw pointer, client pixels
  float screen_w = 0, screen_h = 0;
  bool left = false, right = false;
  bool pen_active = false;
  float pen_pressure = 0;
  unsigned char modifiers = 0;
  bool app_active = true;
};

void update_pointer(FrameState& f, const PointerFrame& in);
// Back from another application: the pointer starts afresh at the mouse, with
// no smoothing velocity and no movement.
void reset_pointer(FrameState& f, const vec2d& mouse);
void update_direction(FrameState& f, bool pen_active);
void update_pressure(FrameState& f, const PointerFrame& in);
void update_radius(FrameState& f);
void update_tool_mode(FrameState& f, unsigned char modifiers, bool right_button);
// The Space and Shift+A gestures: while one runs the drag adjusts the brush
// and the stroke position stays where the gesture began. True while one runs.
bool brush_gesture(FrameState& f, bool left_button);
