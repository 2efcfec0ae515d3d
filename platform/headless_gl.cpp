#include "platform/headless_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "platform/gl.h"

namespace platform {
namespace {

struct Headless {
  bool tried = false, ok = false;
  std::string error;
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLContext context = EGL_NO_CONTEXT;
  EGLSurface surface = EGL_NO_SURFACE;
};
Headless headless;

bool has_extension(const char* list, const char* name) {
  if (!list) return false;
  std::string s = std::string(" ") + list + " ";
  return s.find(std::string(" ") + name + " ") != std::string::npos;
}

// Mesa offers a surfaceless platform; NVIDIA's EGL offers devices instead.
EGLDisplay open_display() {
  auto get_platform_display =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (get_platform_display && has_extension(client, "EGL_MESA_platform_surfaceless")) {
    EGLDisplay d = get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
  }
  auto query_devices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
  if (get_platform_display && query_devices && has_extension(client, "EGL_EXT_platform_device")) {
    EGLDeviceEXT devices[8];
    EGLint count = 0;
    if (query_devices(8, devices, &count))
      for (EGLint i = 0; i < count; ++i) {
        EGLDisplay d = get_platform_display(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
        if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
      }
  }
  EGLDisplay d = eglGetDisplay(EGL_DEFAULT_DISPLAY);
  if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
  return EGL_NO_DISPLAY;
}

bool create(std::string* error) {
  headless.display = open_display();
  if (headless.display == EGL_NO_DISPLAY) {
    *error = "no EGL display could be opened";
    return false;
  }
  if (!eglBindAPI(EGL_OPENGL_API)) {
    *error = "EGL cannot bind desktop OpenGL";
    return false;
  }
  const EGLint config_attribs[] = {EGL_SURFACE_TYPE,
                                   EGL_PBUFFER_BIT,
                                   EGL_RENDERABLE_TYPE,
                                   EGL_OPENGL_BIT,
                                   EGL_RED_SIZE,
                                   8,
                                   EGL_GREEN_SIZE,
                                   8,
                                   EGL_BLUE_SIZE,
                                   8,
                                   EGL_NONE};
  EGLConfig config;
  EGLint n = 0;
  if (!eglChooseConfig(headless.display, config_attribs, &config, 1, &n) || n < 1) {
    *error = "no EGL configuration renders desktop OpenGL";
    return false;
  }
  const EGLint context_attribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                    EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  headless.context = eglCreateContext(headless.display, config, EGL_NO_CONTEXT, context_attribs);
  if (headless.context == EGL_NO_CONTEXT) {
    *error = "EGL refused a compatibility-profile OpenGL context";
    return false;
  }
  const char* dpy_ext = eglQueryString(headless.display, EGL_EXTENSIONS);
  if (!has_extension(dpy_ext, "EGL_KHR_surfaceless_context")) {
    const EGLint pbuffer_attribs[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
    headless.surface = eglCreatePbufferSurface(headless.display, config, pbuffer_attribs);
  }
  if (!eglMakeCurrent(headless.display, headless.surface, headless.surface, headless.context)) {
    *error = "EGL could not make the context current";
    return false;
  }
  return load_gl(error);
}

}  // namespace

bool headless_gl_init(std::string* error) {
  if (!headless.tried) {
    headless.tried = true;
    headless.ok = create(&headless.error);
  }
  if (!headless.ok && error) *error = headless.error;
  return headless.ok;
}

void headless_gl_shutdown() {
  if (headless.display == EGL_NO_DISPLAY) return;
  eglMakeCurrent(headless.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (headless.surface != EGL_NO_SURFACE) eglDestroySurface(headless.display, headless.surface);
  if (headless.context != EGL_NO_CONTEXT) eglDestroyContext(headless.display, headless.context);
  eglTerminate(headless.display);
  headless = Headless{};
}

}  // namespace platform
