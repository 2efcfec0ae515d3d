#include "layers/layer_draw.h"

#include "platform/gl.h"

void draw_rect(float x, float y, float w, float h) {
  glBegin(GL_QUADS);
  glTexCoord2f(0, 1);
  glVertex2f(x, y);
  glTexCoord2f(0, 0);
  glVertex2f(x, y + h);
  glTexCoord2f(1, 0);
  glVertex2f(x + w, y + h);
  glTexCoord2f(1, 1);
  glVertex2f(x + w, y);
  glEnd();
}
