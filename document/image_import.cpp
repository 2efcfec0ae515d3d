#include "document/image_import.h"

#include "gpu/buffer.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "io/atomic_file.h"
#include "io/file_kind.h"
#include "io/jpeg.h"
#include "io/png_import.h"
#include "layers/canvas_setup.h"
#include "layers/layer.h"

namespace document {

using namespace io;

namespace {

// The picture as a quad at canvas pixel (x, y), its top row at the top.
void picture_quad(float x, float y, float w, float h) {
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(x, y);
  glTexCoord2f(1, 0);
  glVertex2f(x + w, y);
  glTexCoord2f(1, 1);
  glVertex2f(x + w, y + h);
  glTexCoord2f(0, 1);
  glVertex2f(x, y + h);
  glEnd();
}

}  // namespace

Result<Pixmap> load_picture(const std::string& path) {
  TRY_ASSIGN(const std::vector<uint8_t> bytes, read_file(path, std::size_t(1) << 30));
  // Nothing larger than a canvas can be imported, so nothing larger is decoded.
  const PictureLimits limits{max_canvas_side, std::size_t(max_canvas_side) * max_canvas_side * 4};
  if (file_kind(path) == FileKind::png) return TPixmapLoaderPNG::LoadPixmap(bytes, limits);
  return jpeg_decode(bytes, limits);
}

Result<void> import_picture(const Pixmap& picture, bool change_resolution, int screen_w, int screen_h) {
  if (!layers.active) return Error{"there is no layer to import into"};
  const int pw = picture.width, ph = picture.height;
  // The picture the layers hold stays centred on the new canvas, moved by
  // whole pixels so that it stays as sharp as it was.
  const float shift_x = float(int(0.5f * float(pw) - 0.5f * float(gpu::geometry.width)));
  const float shift_y = float(int(0.5f * float(ph) - 0.5f * float(gpu::geometry.height)));
  if (change_resolution && !resize_canvas(pw, ph, shift_x, shift_y, screen_w, screen_h))
    return Error{"a canvas of " + std::to_string(pw) + " x " + std::to_string(ph) + " cannot be made"};
  const int W = gpu::geometry.width, H = gpu::geometry.height;
  // Truncated, as every float-to-integer conversion: the centring offset.
  const float ox = float(int((W - pw) / 2.0f)), oy = float(int((H - ph) / 2.0f));

  layer& l = *layers.active;
  l.make_undo_live();
  l.store_undo();
  lay_picture(l, picture, ox, oy);
  l.UNDO_GET = 0;
  layers.changed = true;
  return {};
}

void lay_picture(layer& l, const Pixmap& picture, float ox, float oy) {
  const int W = gpu::geometry.width, H = gpu::geometry.height;
  const int pw = picture.width, ph = picture.height;
  std::vector<uint8_t> rgba = picture.rgba();
  gpu::Texture tex = gpu::Texture::from_pixels(rgba.data(), pw, ph, GL_RGBA8, GL_CLAMP_TO_EDGE);
  const GLboolean alpha_test = glIsEnabled(GL_ALPHA_TEST);
  glDisable(GL_ALPHA_TEST);
  gpu::set_projection(W, H);
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  gpu::bind_texture(0, tex.id());

  l.col.bind_target();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glUseProgram(0);
  glDisable(GL_BLEND);
  picture_quad(ox, oy, float(pw), float(ph));

  l.mat.bind_target();
  if (picture.has_alpha()) {
    glClear(GL_COLOR_BUFFER_BIT);
    gpu::program(gpu::Prog::alpha_to_white).use();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    picture_quad(ox, oy, float(pw), float(ph));
    glUseProgram(0);
  } else {
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
  }
  glEnable(GL_BLEND);
  if (alpha_test) glEnable(GL_ALPHA_TEST);
  gpu::bind_texture(0, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace document
