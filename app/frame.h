#pragma once
// The work of one frame.
#include "platform/input.h"
#include "platform/window.h"

void frame_work(platform::Window& window, platform::Input& input);
