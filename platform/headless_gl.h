#pragma once
// A GL context with no window and no display: Mesa's surfaceless EGL platform
// (llvmpipe when there is no GPU), or an EGL device on drivers that lack it.
// Everything is rendered into framebuffer objects.
#include <string>

namespace platform {

// Creates the process-wide headless context and makes it current; a second
// call returns the first result. Loads the GL entry points.
bool headless_gl_init(std::string* error);

// Releases the context (after every GL object is gone).
void headless_gl_shutdown();

}  // namespace platform
