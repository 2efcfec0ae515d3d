#pragma once
// On-screen text with the embedded 8 x 14 font strip.
#include <string_view>

// Draws `text` with its top-left at (x, y) in the current projection (client
// pixels, y down). Each glyph is 8 x scale wide and twice that high; a line
// feed starts a new line below. The font is bound on unit 0 while drawing.
void draw_text(std::string_view text, float x, float y, float scale);

// Width in pixels of the longest line of `text` at `scale`.
float text_width(std::string_view text, float scale);
