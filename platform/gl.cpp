#include "platform/gl.h"

#include <cstdio>

namespace platform {

bool load_gl(std::string* error) {
  glewExperimental = GL_TRUE;
  GLenum r = glewInit();
  if (r != GLEW_OK && r != 4 /* GLEW_ERROR_NO_GLX_DISPLAY */) {
    *error = std::string("GLEW: ") + reinterpret_cast<const char*>(glewGetErrorString(r));
    return false;
  }
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  int major = 0, minor = 0;
  if (!version || std::sscanf(version, "%d.%d", &major, &minor) != 2 || major * 10 + minor < 21) {
    *error = std::string("OpenGL 2.1 or later is needed, the driver offers ") + (version ? version : "none");
    return false;
  }
  const struct {
    const void* fn;
    const char* what;
  } needed[] = {
      {reinterpret_cast<const void*>(glGenFramebuffers), "framebuffer objects"},
      {reinterpret_cast<const void*>(glBlitFramebuffer), "framebuffer blit"},
      {reinterpret_cast<const void*>(glCreateShader), "GLSL programs"},
      {reinterpret_cast<const void*>(glBlendFuncSeparate), "separate blend functions"},
      {reinterpret_cast<const void*>(glClampColor ? reinterpret_cast<const void*>(glClampColor)
                                                  : reinterpret_cast<const void*>(glClampColorARB)),
       "float colour clamping control"},
      {reinterpret_cast<const void*>(glGenerateMipmap), "mipmap generation"},
  };
  for (const auto& n : needed)
    if (!n.fn) {
      *error = std::string("the GL driver lacks ") + n.what;
      return false;
    }
  return true;
}

}  // namespace platform
