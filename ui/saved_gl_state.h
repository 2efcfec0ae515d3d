#pragma once
// The GUI draws between passes that rely on the GL state they left: while
// alive, this keeps the attributes, the program, the framebuffer and the
// matrices it found, and puts them back when it goes.
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

}  // namespace ui
