#pragma once
// Making a canvas: geometry, every canvas buffer and a first layer.

// Deletes every layer and canvas buffer, sets the canvas size, makes the image
// slots and work buffers again, and creates the active layer filled with
// `paint_rgb` (alpha 1) and no paint. `screen_w` x `screen_h` sizes the screen
// copy. Colour clamping is switched off and the projection set for the canvas.
void create_canvas(int w, int h, const float paint_rgb[3], int screen_w, int screen_h);
