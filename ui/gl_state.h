#pragma once
// What the GUI's drawing shares: it draws between passes that rely on the GL
// state they left, so each drawing puts back the attributes, the program,
// the framebuffer and the matrices it found; and it draws in client pixels.
#include "platform/gl.h"

namespace ui {

class SavedGlState {
 public:
  SavedGlState() {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program_);
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer_);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
  }
  ~SavedGlState() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glBindFramebuffer(GL_FRAMEBUFFER, GLuint(framebuffer_));
    glUseProgram(GLuint(program_));
    glPopAttrib();
  }
  SavedGlState(const SavedGlState&) = delete;
  SavedGlState& operator=(const SavedGlState&) = delete;

 private:
  GLint program_ = 0, framebuffer_ = 0;
};

// Client pixels, y down, over a screen of w x h: the viewport too, which the
// passes before leave at the canvas size (not the window's).
inline void screen_projection(float w, float h) {
  glViewport(0, 0, GLsizei(w), GLsizei(h));
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, w, h, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

// A plain quad at (x, y), w x h.
inline void plain_rect(float x, float y, float w, float h) {
  glBegin(GL_QUADS);
  glVertex2f(x, y);
  glVertex2f(x + w, y);
  glVertex2f(x + w, y + h);
  glVertex2f(x, y + h);
  glEnd();
}

}  // namespace ui
