#pragma once
// The one place the engine gets its GL declarations from.
#include <GL/glew.h>

#include <string>

namespace platform {

// Loads the GL entry points for the current context and checks that it can run
// the paint engine: GL 2.1 with framebuffer objects, GLSL and float textures.
// GLEW reports "no GLX display" on EGL contexts after loading every entry point;
// that is accepted. On failure `error` says what is missing.
bool load_gl(std::string* error);

}  // namespace platform
