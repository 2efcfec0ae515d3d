#pragma once
// The main control panel's part in the frame: its pointer pass beside the
// floating panels', the layer list's requests served with the session's
// confirmations, and its drawing under the floating panels. It is shown
// where the floating panels are (panels_fit_window()).
#include <vector>

#include "app/session.h"
#include "ui/gui_context.h"
#include "ui/main_panel.h"

extern ui::MainPanel main_panel;

// Runs the panel's pass for this frame (nothing while it is not shown) and
// returns the gui_flag bits it owns.
int main_panel_pointer_pass(const ui::PointerInput& in);

// The layer list's requests, with "Merge Layers..." and "Delete Layer..." asked
// through the session's boxes (the window's title says what is asked).
void serve_main_panel_requests(Session& s);

// Draws the panel over the picture bound now, whose copy is `screen_copy`.
void draw_main_panel_now(unsigned screen_copy, float light_x, float light_y);

// Appends what the panel shows, so that a change redraws the window.
void add_main_panel_state(std::vector<float>& out);

// Deletes the panel's GL objects; the next drawing builds them again.
void release_main_panel();
