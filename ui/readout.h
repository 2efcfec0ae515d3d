#pragma once
// What the panel shows beside a control: its label with its value.
#include <string>

#include "document/parameters.h"

namespace ui {

// One label with its value as the panel shows it: the group prefix cut off,
// 0..1 values as a whole percentage, switches as on or off ("FLUIDITY 100%",
// "DITHER on", "SIZE 15", "GAMMA 1:2.85").
std::string readout(const document::Parameter& p);

}  // namespace ui
