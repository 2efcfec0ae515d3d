#pragma once
// The pen as the application reads it through the tablet module: opened at
// start-up, its pressure sampled before each frame's work, its packet time,
// tilt and eraser end at the frame's pen-sampling step. Without a tablet the
// mouse-simulation driver answers and the pen never looks live.
#include "app/frame_state.h"
#include "platform/input.h"
#include "platform/window.h"

struct PenState {
  int packet_time = 0;  // time of the latest packet as the previous frame saw it
};

extern PenState pen_state;

// Start-up: a script's pen replaces whatever tablet library is installed; the
// mouse simulation reads `window` and `input`. Opens the tablet (`pen_active`
// when it opened) and reads the tilt once.
void open_pen(platform::Window& window, platform::Input& input, FrameState& f);
// Frame prologue: lets a scripted pen post this frame's packet, then samples
// `pen_pressure`.
void sample_pen_pressure();
// Pen sampling of the frame: `pen_active` when a packet came since the last
// frame, the tilt while it is, and whether the eraser end is near the tablet.
void sample_pen_packet(FrameState& f);
// Exit: closes the tablet and drops the library before the window goes.
void close_pen();
