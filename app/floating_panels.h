#pragma once
// The floating panels of the program and their part in the frame: the
// pointer pass before painting, the requests their controls leave for the
// frame, and drawing them with the pointer over the finished picture.
#include <optional>
#include <vector>

#include "base/vec.h"
#include "gpu/dirty_region.h"
#include "ui/gui_context.h"

// The panels, built on first use once the GPU programs exist.
extern ui::GuiContext gui;

// What the brush-mode panel's controls ask of the frame.
struct PanelRequests {
  static constexpr unsigned char none = 0xff;
  unsigned char brush_mode = none;  // 0 paint, 1 smudge, 2 erase, 3 average
  unsigned char clear_layer = 0;
};
extern PanelRequests panel_requests;

// True while the window is large enough for the panels that are always shown.
bool panels_fit_window();

// This frame's pointer for the GUI's passes, with nobody else owning it.
ui::PointerInput pointer_input(vec2d pointer);

// Runs the pointer pass for this frame and merges what the GUI owns into
// app.gui_flags. The panels that are always shown are open while the window
// is at least 640 x 480; on a smaller one they would hide most of the canvas.
void gui_pointer_pass(vec2d pointer);

// Draws the open panels over the picture bound now, then the pointer: the
// brush outline of `brush_radius` screen pixels over the canvas, the
// toolkit's shape over a panel.
void draw_panels_and_pointer(vec2d pointer, float brush_radius);

// The window pixels to redraw for the pointer, drawn with `radius` at `pos`
// this frame: where it was and where it is, or nothing when it stayed.
std::optional<gpu::PixelRect> pointer_moved(vec2d pos, float radius);

// Appends what the panels show (which are open and where, highlights,
// values, the pointer's shape): a change redraws the window.
void add_gui_state(std::vector<float>& out);

// Deletes the panels' GL objects; the next use builds them again.
void release_floating_panels();
