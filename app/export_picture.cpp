#include "app/export_picture.h"

#include <algorithm>
#include <vector>

#include "gpu/canvas_buffers.h"
#include "io/file_kind.h"
#include "io/ora_file.h"
#include "io/png16.h"
#include "platform/gl.h"

bool export_lit_picture(const std::string& path, std::string* error) {
  const gpu::Buffer& image = gpu::canvas_buffers.paint_image;
  if (!image) {
    *error = "there is no picture to export";
    return false;
  }
  if (io::file_kind(path) == io::FileKind::ora) return io::save_ora(path, error);
  const int w = image.width(), h = image.height();
  const std::size_t row = std::size_t(w) * 3;
  std::vector<float> pixels(row * std::size_t(h));
  glBindFramebuffer(GL_FRAMEBUFFER, image.framebuffer());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGB, GL_FLOAT, pixels.data());
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  // Texture row 0 is the bottom of the picture; the file starts at the top.
  for (int y = 0; y < h / 2; ++y)
    std::swap_ranges(pixels.begin() + std::ptrdiff_t(y * row), pixels.begin() + std::ptrdiff_t((y + 1) * row),
                     pixels.begin() + std::ptrdiff_t((h - 1 - y) * row));
  return io::png16_write(path, pixels, w, h, 3, error);
}
