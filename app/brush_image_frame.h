#pragma once
// The brush images in the frame: the capture quad's four handles (shown,
// dragged and drawn while a capture is in progress), the I and Shift+I keys,
// the "BRUSH IMAGE" panel's requests, the capture itself and what the stroke
// is told about the images.
//
// A capture goes: I (or the panel's "i") shows the quad over the canvas; its
// corners are dragged into place; I (or "i") again takes the snap; Escape
// leaves without one. While the quad is shown, Shift+I (or Ctrl+click on a
// strip entry) places the current image into it instead: the image shows on
// the active layer inside the quad, following its corners, until I or
// Shift+I again (or a button of the "LAYER FX" panel) lays it there, or
// Escape leaves without laying it.
#include <array>
#include <vector>

#include "app/keys.h"
#include "base/vec.h"
#include "brush/stroke.h"

// The quad's corners A, B, C, D in canvas pixels.
std::array<vec2d, 4> capture_quad();
void set_capture_quad(const std::array<vec2d, 4>& quad);

// I was pressed: start a capture, or take the snap (or lay the placement)
// while one is in progress. Shift+I, with no capture in progress: remove
// every brush image once the user agrees; with the quad shown: place the
// current image into it, or lay the placement shown.
void brush_image_key(KeyContext& k);

// The placement shown, if any, is to be laid into the layer (at step 13).
void request_placement_commit();

// Frame step 13: a requested capture shows its quad; a requested snap is
// taken, or a placement laid.
void capture_step();

// Before the display: while an image is placed, draws it through the quad
// into the overlay buffers. True when the display is to show them.
bool placement_preview();

// Appends what the placement's picture depends on: a change redraws it.
void add_placement_state(std::vector<float>& out);

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
