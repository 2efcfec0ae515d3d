#include "app/screenshot.h"

#include <algorithm>
#include <vector>

#include "io/png16.h"
#include "platform/gl.h"

Result<void> write_screenshot(platform::Window& window, const std::string& path) {
  int w = 0, h = 0;
  window.client_size(&w, &h);
  if (w <= 0 || h <= 0) return Error{"the window has no picture to write"};
  window.bind_screen();
  GLint screen = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &screen);
  // A window's presented picture is its front buffer; a headless screen is
  // a framebuffer object.
  glReadBuffer(screen == 0 ? GL_FRONT : GL_COLOR_ATTACHMENT0);
  std::vector<float> rows(std::size_t(w) * std::size_t(h) * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGB, GL_FLOAT, rows.data());
  glReadBuffer(screen == 0 ? GL_BACK : GL_COLOR_ATTACHMENT0);
  // GL's rows run bottom-up, the file's top-down.
  const std::size_t row = std::size_t(w) * 3;
  for (int y = 0; y < h / 2; ++y)
    std::swap_ranges(rows.begin() + std::ptrdiff_t(std::size_t(y) * row),
                     rows.begin() + std::ptrdiff_t(std::size_t(y + 1) * row),
                     rows.begin() + std::ptrdiff_t(std::size_t(h - 1 - y) * row));
  return io::png16_write(path, rows, w, h, 3);
}
