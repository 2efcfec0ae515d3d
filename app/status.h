#pragma once
// The status text: the control-panel labels with their readouts, the view
// and tool readout and the crop prompts. Drawn last in a frame, into the
// bound screen.
#include <string>

#include "document/parameters.h"

// One label with its value as the panel shows it: the group prefix cut off,
// 0..1 values as a whole percentage, switches as on or off ("FLUIDITY 100%",
// "DITHER on", "SIZE 15", "GAMMA 1:2.85").
std::string readout(const document::Parameter& p);

void draw_status_text(float screen_w, float screen_h);
