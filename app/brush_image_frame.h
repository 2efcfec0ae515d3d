#pragma once
// The brush images in the frame: the capture quad's four handles (shown,
// dragged and drawn while a capture is in progress), the I and Shift+I keys,
// the "BRUSH IMAGE" panel's requests, the capture itself and what the stroke
// is told about the images.
//
// A capture goes: I (or the panel's "i") shows the quad over the canvas; its
// corners are dragged into place; I (or "i") again takes the snap; Escape
// leaves without one. While the quad is shown, Shift+I (or Ctrl+click on a
// strip entry) lays the current image into it instead.
#include <array>

#include "app/keys.h"
#include "base/vec.h"
#include "brush/stroke.h"

// The quad's corners A, B, C, D in canvas pixels.
std::array<vec2d, 4> capture_quad();
void set_capture_quad(const std::array<vec2d, 4>& quad);

// I: start a capture, or take the snap while one is in progress. Shift+I,
// with no capture in progress: remove every brush image once the user
// agrees; with the quad shown: lay the current image into it.
void brush_image_keys(KeyContext& k);

// Frame step 13: a requested capture shows its quad; a requested snap is taken.
void capture_step();

// While the quad is shown a press (`pressed`: the left button went down this
// frame) on a corner drags it until the button is released: `canvas_pointer`
// is the rotated pointer in canvas pixels. True while a corner owns the
// pointer, so that no paint is laid.
bool drag_capture_handles(vec2d canvas_pointer, bool left, bool pressed);

// The panel's requests: option flips, the "i" button and a click in the strip
// (Shift: remove that image once the user agrees; Ctrl: lay it into the quad
// shown).
void serve_brush_image_requests(platform::Dialogs& dialogs);

// The brush images as the stroke sees them, and afterwards the stroke's image
// becomes the current one.
void brush_image_stroke_input(StrokeInput& in);
void note_stroke_image();

// Draws the quad and its corners over the window (client pixels,
// screen_w x screen_h) while a capture is in progress.
void draw_capture_quad(float screen_w, float screen_h);

// True once after the quad was shown, moved or hidden: the window is redrawn.
bool capture_overlay_changed();
