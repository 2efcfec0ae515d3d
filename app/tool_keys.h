#pragma once
// The keys of the tools and modes: help, the held dials, the whole-layer
// colour stretch, the panels' visibility (polled with the other keys, step 8)
// and the canvas texture, mask mode and the requests of the brush-mode
// panel's MASK and FL (after the panels' pointer pass, step 9).
#include <string>

#include "app/keys.h"

void poll_tool_keys(KeyContext& k);
void poll_late_keys(KeyContext& k);

// The README's key section, for F1: the installed copy, or the source
// tree's when the program runs from its build folder.
std::string help_url();
