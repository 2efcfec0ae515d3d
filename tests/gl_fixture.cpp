#include "tests/gl_fixture.h"

#include <string>

#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "layers/canvas_setup.h"
#include "platform/headless_gl.h"

void gl_canvas(int w, int h) {
  static bool ready = false;
  if (!ready) {
    std::string error;
    ASSERT_TRUE(platform::headless_gl_init(&error)) << error;
    std::string log;
    ASSERT_TRUE(gpu::build_programs(&log)) << log;
    ready = true;
  }
  const float paint[3] = {0.25f, 0.1f, 0.05f};
  create_canvas(w, h, paint, w, h);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_NOTEQUAL, 0.0f);
}

std::vector<float> read_texture(GLuint tex, int w, int h, GLenum format, int channels) {
  std::vector<float> out(size_t(w) * h * channels);
  glBindTexture(GL_TEXTURE_2D, tex);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, format, GL_FLOAT, out.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  return out;
}
