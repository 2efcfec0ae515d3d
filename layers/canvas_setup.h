#pragma once
// Making a canvas, and changing its size under the layers.

// Largest canvas side: the largest texture the GL implementations we run on
// take, halved because the display renders at twice the canvas size.
inline constexpr int max_canvas_side = 8192;

// True when w x h is a canvas we can make.
bool valid_canvas_size(int w, int h);

// New canvas: deletes every layer and canvas buffer, sets the canvas size,
// makes the image slots and work buffers again, and creates the active layer
// filled with `paint_rgb` (alpha 1) and no paint. `screen_w` x `screen_h`
// sizes the screen copy. Colour clamping is switched off and the projection
// set for the canvas. The caller centres the view. Returns false, changing
// nothing, for a size valid_canvas_size refuses.
bool create_canvas(int w, int h, const float paint_rgb[3], int screen_w, int screen_h);

// Resize: makes every canvas buffer again at w x h and moves every layer onto
// it, its content shifted by (ox, oy) at its pixel scale. The caller shifts the
// view offset by half the change of size times the zoom. Returns false,
// changing nothing, for a size valid_canvas_size refuses.
bool resize_canvas(int w, int h, float ox, float oy, int screen_w, int screen_h);
