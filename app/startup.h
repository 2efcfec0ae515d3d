#pragma once
// Start-up, the main loop and the orderly exit.
#include "app/options.h"
#include "platform/input.h"
#include "platform/window.h"

// Runs the start-up sequence on a window whose GL context is current. False
// when the GL programs could not be built (the reasons are on standard error).
bool start_up(platform::Window& window, platform::Input& input, const Options& options);

// One frame per timer tick until the exit is confirmed or `max_frames` frames
// (when not negative) have been presented.
void run_main_loop(platform::Window& window, platform::Input& input, long max_frames);

// Releases the GPU objects in the fixed exit order.
void release_gpu_objects();
