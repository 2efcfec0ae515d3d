#pragma once
// The main control panel's part in the frame: its pointer pass beside the
// floating panels', the layer list's requests served with the session's
// confirmations, and its drawing under the floating panels. It is shown
// where the floating panels are (panels_fit_window()).
#include <optional>
#include <vector>

#include "app/session.h"
#include "gpu/dirty_region.h"
#include "ui/gui_context.h"
#include "ui/main_panel.h"

extern ui::MainPanel main_panel;

// Runs the panel's pass for this frame (nothing while it is not shown) and
// returns the gui_flag bits it owns.
int main_panel_pointer_pass(const ui::PointerInput& in);

// The layer list's requests, with "Merge Layers..." and "Delete Layer..." asked
// through the session's boxes (the window's title says what is asked).
void serve_main_panel_requests(Session& s);

// Lays the panel out for this frame's drawing and appends the window pixels
// its glass covers.
void lay_out_main_panel_now(std::vector<gpu::PixelRect>& footprints);

// The pixels of the panel's glass that show the window picture at `changed`.
gpu::PixelRect main_panel_near(const gpu::PixelRect& changed);

// Draws the laid-out panel over the picture bound now, refracting `backdrop`
// (the glass's blur of the window picture); with a clip only what reaches
// into it.
void draw_main_panel_now(unsigned backdrop, float light_x, float light_y, const std::optional<gpu::PixelRect>& clip);

// Appends what the panel shows, so that a change redraws the window.
void add_main_panel_state(std::vector<float>& out);

// Deletes the panel's GL objects; the next drawing builds them again.
void release_main_panel();
