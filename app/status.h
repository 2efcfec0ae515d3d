#pragma once
// The status text: the view and tool readout and the crop prompts (the
// settings' readouts stand beside their controls). Drawn last in a frame,
// into the bound screen.

void draw_status_text(float screen_w, float screen_h);
