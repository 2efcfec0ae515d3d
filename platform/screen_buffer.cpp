#include "platform/screen_buffer.h"

namespace platform {

ScreenBuffer::~ScreenBuffer() {
  release();
}

void ScreenBuffer::release() {
  if (fbo_) glDeleteFramebuffers(1, &fbo_);
  if (colour_) glDeleteRenderbuffers(1, &colour_);
  fbo_ = colour_ = 0;
  w_ = h_ = 0;
}

bool ScreenBuffer::bind(int w, int h) {
  if (w <= 0 || h <= 0) return false;
  if (!fbo_ || w != w_ || h != h_) {
    release();
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
      glBindFramebuffer(GL_FRAMEBUFFER, 0);
      release();
      return false;
    }
    w_ = w;
    h_ = h;
  }
  glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
  glViewport(0, 0, w, h);
  return true;
}

void ScreenBuffer::copy_to_window() const {
  if (!fbo_) return;
  // A scissor left on by the frame would clip the copy.
  const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
  glDisable(GL_SCISSOR_TEST);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glBlitFramebuffer(0, 0, w_, h_, 0, 0, w_, h_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (scissor) glEnable(GL_SCISSOR_TEST);
}

}  // namespace platform
