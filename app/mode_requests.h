#pragma once
// The brush-mode panel's switches of warp mode ("WARP") and of the
// simulation's substeps ("*"): the frame turns each request into a change of
// its state, between strokes.
#include "platform/input.h"
#include "platform/window.h"

void serve_mode_requests(platform::Window& window, platform::Input& input);
