#include "gpu/flow_activity.h"

#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"

namespace gpu {

FlowActivity flow_activity;

long nonzero_texels(const Buffer& b) {
  if (!b) return 0;
  // Any target of the same size will do: nothing is written, only counted.
  // The buffer itself cannot be the target while it is read.
  const Buffer& target = &b == &canvas_buffers.mat_copy ? canvas_buffers.scratch : canvas_buffers.mat_copy;
  GLuint query = 0;
  glGenQueries(1, &query);
  {
    ScopedResolution at(b.width(), b.height());
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer());
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    const GLboolean alpha_test = glIsEnabled(GL_ALPHA_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    program(Prog::nonzero_texels).use();
    // Nearest sampling reads each texel as stored.
    bind_texture(0, b.texture());
    GLint min_filter = 0, mag_filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag_filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBeginQuery(GL_SAMPLES_PASSED, query);
    full_quad();
    glEndQuery(GL_SAMPLES_PASSED);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag_filter);
    bind_texture(0, 0);
    glUseProgram(0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (alpha_test) glEnable(GL_ALPHA_TEST);
  }
  GLuint passed = 0;
  glGetQueryObjectuiv(query, GL_QUERY_RESULT, &passed);
  glDeleteQueries(1, &query);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return long(passed);
}

void flow_unknown() {
  flow_activity.field_zero = false;
  flow_activity.settled = false;
}

}  // namespace gpu
