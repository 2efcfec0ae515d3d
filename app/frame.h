#pragma once
// The work of one frame, in its fixed order: window size, modifiers, pen,
// pointer, keys, wheel, tool mode and navigation, the stroke, the
// simulation, the display, the colour pick and the status text.
#include "app/frame_changes.h"
#include "app/session.h"

// Runs the stages the changes since the last picture call for and says which
// ran; the window needs presenting when c.draw_window().
FrameChanges frame_work(Session& s);

// The canvas colour under client pixel (x, y) of the finished frame, as the
// Alt-click pick reads it. Bound screen and current frame only.
void pick_displayed_color(float x, float y, float screen_h);
