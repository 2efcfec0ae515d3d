#include "app/frame.h"

#include "app/app_state.h"
#include "platform/gl.h"

void frame_work(platform::Window& window, platform::Input& input) {
  int w = 0, h = 0;
  window.client_size(&w, &h);
  app.screen_w = float(w);
  app.screen_h = float(h);
  window.bind_screen();
  glClearColor(0.18f, 0.18f, 0.2f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
}
