#pragma once
// The floating panels of the program and their part in the frame: the
// pointer pass before painting, the requests their controls leave for the
// frame, and drawing them with the pointer over the finished picture.
#include <optional>
#include <vector>

#include "base/vec.h"
#include "gpu/dirty_region.h"
#include "ui/gui_context.h"
#include "ui/gui_draw.h"

// The panels, built on first use once the GPU programs exist.
extern ui::GuiContext gui;

// What drawing the panels drew, added up over the frames (tests set it back).
extern ui::GuiDrawCount panels_drawn;

// What the brush-mode panel's controls ask of the frame.
struct PanelRequests {
  static constexpr unsigned char none = 0xff;
  unsigned char brush_mode = none;  // 0 paint, 1 smudge, 2 erase, 3 average
  unsigned char clear_layer = 0;
  unsigned char warp = 0;      // "WARP": warp mode on or off
  unsigned char substeps = 0;  // "*": the simulation's substep mode on or off
  unsigned char mask = 0;       // MASK: toggle mask mode
  unsigned char normalise = 0;  // FL: as Shift+Ctrl+F
};
extern PanelRequests panel_requests;

// True while the panels that are always shown are up: the window is large
// enough for them and Tab has not put them aside.
bool panels_fit_window();

// This frame's pointer for the GUI's passes, with nobody else owning it.
ui::PointerInput pointer_input(vec2d pointer);

// Runs the pointer pass for this frame and merges what the GUI owns into
// app.gui_flags. The panels that are always shown are open while the window
// is at least 640 x 480; on a smaller one they would hide most of the canvas.
void gui_pointer_pass(vec2d pointer);

// Draws the open panels over the picture bound now, then the pointer: the
// brush outline of `brush_radius` screen pixels over the canvas, the
// toolkit's shape over a panel. `redrawn` is the part of the window drawn
// this frame (nullopt: all of it); only that part of the panels is redrawn.
void draw_panels_and_pointer(vec2d pointer, float brush_radius, const std::optional<gpu::PixelRect>& redrawn);

// The window pixels to redraw for the pointer, drawn with `radius` at `pos`
// this frame: where it was and where it is, or nothing when it stayed and
// kept its shape.
std::optional<gpu::PixelRect> pointer_moved(vec2d pos, float radius);

// Advances the panels' highlights by a frame and returns the window pixels
// where the panels now look different from their last drawing, if any.
std::optional<gpu::PixelRect> panels_changed();

// The pixels of the panels' glass that refract the window picture at
// `changed`, where it changed: they are redrawn with it.
gpu::PixelRect panels_near(const gpu::PixelRect& changed);

// Tab: the floating panels and the status text step aside for an
// unobstructed view, or return.
void toggle_panels_hidden();
bool panels_hidden();

// Deletes the panels' GL objects; the next use builds them again.
void release_floating_panels();
