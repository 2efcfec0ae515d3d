#pragma once
// Drawing helpers shared by the layer operations.

// A textured quad covering the rectangle at (x, y) of size w x h in canvas
// pixels, with the canvas convention: its top-left corner shows texture
// coordinate (0, 1), its bottom-right (1, 0).
void draw_rect(float x, float y, float w, float h);
