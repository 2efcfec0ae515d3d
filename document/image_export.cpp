#include "document/image_export.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "document/ora_file.h"
#include "gpu/canvas_buffers.h"
#include "gpu/display.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "io/file_kind.h"
#include "io/jpeg.h"
#include "io/png16.h"
#include "layers/layer.h"

namespace document {

using namespace io;

namespace {

template <typename T>
std::vector<T> read_back(GLuint framebuffer, int w, int h, GLenum format, int channels, GLenum type) {
  std::vector<T> out(std::size_t(w) * h * channels);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, format, type, out.data());
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return out;
}

// Buffer row 0 is the bottom of the picture; files start at the top.
template <typename T>
void flip_rows(std::vector<T>& px, int w, int h, int channels) {
  const std::size_t row = std::size_t(w) * channels;
  for (int y = 0; y < h / 2; ++y)
    std::swap_ranges(px.begin() + std::ptrdiff_t(y * row), px.begin() + std::ptrdiff_t((y + 1) * row),
                     px.begin() + std::ptrdiff_t((h - 1 - y) * row));
}

GLuint shown_col(const layer& l) {
  return l.showing_undo() ? l.undo_col() : l.fbo_col();
}
GLuint shown_mat(const layer& l) {
  return l.showing_undo() ? l.undo_mat() : l.fbo_mat();
}

void begin_pass(const gpu::Buffer& target, float r, float g, float b, float a) {
  target.bind_target();
  gpu::set_projection(target.width(), target.height());
  glClearColor(r, g, b, a);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_ALPHA_TEST);
}

// Every visible layer composited flat, as a merge composites.
std::vector<float> composite_colour(int w, int h) {
  gpu::Buffer out = gpu::Buffer::create(w, h, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
  begin_pass(out, 0, 0, 0, 0);
  const gpu::Program& p = gpu::program(gpu::Prog::layer_composite);
  p.use();
  glEnable(GL_BLEND);
  for (const auto& lp : layers.list) {
    const layer& l = *lp;
    if (l.hidden) continue;
    int premul = 0;
    switch (l.style) {
      case 1: glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE, GL_ONE, GL_ONE_MINUS_SRC_ALPHA); break;
      case 2:
        glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA);
        premul = 1;
        break;
      default: glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA); break;
    }
    p.set_int("premul", premul).set("visibility", l.visibility);
    glColor4f(l.color[0], l.color[1], l.color[2], l.opacity);
    gpu::bind_texture(0, shown_mat(l));
    gpu::bind_texture(1, shown_col(l));
    gpu::full_quad();
  }
  glUseProgram(0);
  gpu::bind_texture(1, 0);
  gpu::bind_texture(0, 0);
  return read_back<float>(out.framebuffer(), w, h, GL_RGBA, 4, GL_FLOAT);
}

// The paint above a flat film of every visible layer, with the canvas height
// where there is no paint when the canvas is shown; scaled so that the
// highest point is 1.
std::vector<float> paint_height(int w, int h) {
  gpu::Buffer sum = gpu::Buffer::create(w, h, GL_R32F, GL_RED, GL_CLAMP_TO_EDGE);
  begin_pass(sum, 0, 0, 0, 0);
  gpu::program(gpu::Prog::mat_excess).use();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, 1);
  for (const auto& lp : layers.list) {
    if (lp->hidden) continue;
    gpu::bind_texture(0, shown_mat(*lp));
    gpu::full_quad();
  }
  const gpu::Buffer* result = &sum;
  gpu::Buffer with_height;
  if (gpu::canvas_settings.show) {
    with_height = gpu::Buffer::create(w, h, GL_R32F, GL_RED, GL_CLAMP_TO_EDGE);
    begin_pass(with_height, 0, 0, 0, 0);
    glDisable(GL_BLEND);
    gpu::program(gpu::Prog::mat_with_height).use();
    gpu::bind_texture(0, sum.texture());
    gpu::bind_texture(1, gpu::canvas_buffers.canvas_height.texture());
    gpu::full_quad();
    glEnable(GL_BLEND);
    result = &with_height;
  }
  glUseProgram(0);
  gpu::bind_texture(1, 0);
  gpu::bind_texture(0, 0);
  std::vector<float> height = read_back<float>(result->framebuffer(), w, h, GL_RED, 1, GL_FLOAT);
  float top = 0;
  for (float v : height)
    if (std::isfinite(v)) top = std::max(top, v);
  std::vector<float> rgba(height.size() * 4);
  for (std::size_t i = 0; i < height.size(); ++i) {
    const float v = top > 0 && std::isfinite(height[i]) ? height[i] / top : 0.0f;
    rgba[i * 4] = rgba[i * 4 + 1] = rgba[i * 4 + 2] = v;
    rgba[i * 4 + 3] = 1;
  }
  return rgba;
}

}  // namespace

std::vector<float> render_lit_layer(const layer& l, int w, int h, bool straight) {
  const gpu::DisplaySettings& s = gpu::display_settings;
  gpu::CanvasBuffers& b = gpu::canvas_buffers;
  // The paint thickness the lighting reads: this layer's alone.
  begin_pass(b.scratch, 0, 0, 0, 0);
  glUseProgram(0);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glColor4f(1, 1, 1, 1);
  gpu::bind_texture(0, shown_mat(l));
  gpu::full_quad();

  gpu::Buffer out = gpu::Buffer::create(w, h, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
  if (straight) {
    begin_pass(out, 0, 0, 0, 0);
  } else {
    begin_pass(out, 1, 1, 1, 0);
  }
  const float diffusion = std::max(l.diffusion, 1e-4f);
  gpu::program(gpu::Prog::paint_display)
      .use()
      .set_int("canvas_active", gpu::canvas_settings.show ? 1 : 0)
      .set("gamma", s.display_gamma())
      .set("ratio", float(h) / float(w))
      .set("offset", 1.0f / float(w), 1.0f / float(h))
      .set("lcol", s.light_col[0], s.light_col[1], s.light_col[2])
      .set("ambcol", s.ambient_col[0], s.ambient_col[1], s.ambient_col[2])
      .set("desaturation", s.desaturate)
      .set("perception", s.perception)
      .set("depth", std::sqrt(std::max(l.bump, 0.0f)) * 0.9999f)
      .set("glossiness", l.glossiness)
      .set("diffusion", 10.0f / (diffusion * diffusion))
      .set("metallic", l.metallic)
      .set("visibility", l.visibility)
      .set("lpos", s.light_pos[0] - l.posx / float(w), s.light_pos[1] + float(h) / float(w) + l.posy / float(w),
           s.light_pos[2]);
  if (straight) {
    glDisable(GL_BLEND);
  } else {
    gpu::apply_blend_style(l.style, true);
  }
  gpu::bind_texture(0, shown_mat(l));
  gpu::bind_texture(1, shown_col(l));
  gpu::bind_texture(2, b.scratch.texture());
  gpu::bind_texture(3, b.canvas_normals.texture());
  glColor4f(l.color[0], l.color[1], l.color[2], straight ? 1.0f : l.opacity);
  gpu::full_quad();
  glEnable(GL_BLEND);
  glUseProgram(0);
  for (int unit : {3, 2, 1, 0}) gpu::bind_texture(unit, 0);
  std::vector<float> px = read_back<float>(out.framebuffer(), w, h, GL_RGBA, 4, GL_FLOAT);
  flip_rows(px, w, h, 4);
  return px;
}

std::vector<float> lit_picture() {
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  glClampColor(GL_CLAMP_READ_COLOR, GL_TRUE);
  std::vector<float> px = read_back<float>(gpu::canvas_buffers.paint_image.framebuffer(), w, h, GL_RGB, 3, GL_FLOAT);
  glClampColor(GL_CLAMP_READ_COLOR, GL_FALSE);
  flip_rows(px, w, h, 3);
  return px;
}

PngExport png_export_for(unsigned char modifier_keys) {
  if (modifier_keys == 2) return PngExport::layer;
  if (modifier_keys == 3) return PngExport::col_mat;
  return PngExport::lit;
}

std::string png_pair_name(const std::string& name, const std::string& suffix) {
  if (file_kind(name) != FileKind::png) return name + suffix;
  return name.substr(0, name.size() - 4) + suffix;
}

Result<void> export_png(const std::string& path, PngExport mode) {
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  if (!layers.active) return Error{"there is no painting to export"};
  Result<void> written;
  if (mode == PngExport::lit) {
    written = png16_write(path, lit_picture(), w, h, 3);
  } else if (mode == PngExport::layer) {
    written = png16_write(path, render_lit_layer(*layers.active, w, h, false), w, h, 4);
  } else {
    glClampColor(GL_CLAMP_READ_COLOR, GL_FALSE);
    std::vector<float> col = composite_colour(w, h);
    flip_rows(col, w, h, 4);
    std::vector<float> mat = paint_height(w, h);
    flip_rows(mat, w, h, 4);
    written = png16_write(png_pair_name(path, "_col.png"), col, w, h, 4);
    if (written) written = png16_write(png_pair_name(path, "_mat.png"), mat, w, h, 4);
  }
  glClampColor(GL_CLAMP_READ_COLOR, GL_FALSE);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return written;
}

Result<void> export_lit_picture(const std::string& path) {
  const gpu::Buffer& image = gpu::canvas_buffers.paint_image;
  if (!image) return Error{"there is no picture to export"};
  if (file_kind(path) == FileKind::ora) return save_ora(path);
  const int w = image.width(), h = image.height();
  std::vector<float> pixels = read_back<float>(image.framebuffer(), w, h, GL_RGB, 3, GL_FLOAT);
  flip_rows(pixels, w, h, 3);
  return png16_write(path, pixels, w, h, 3);
}

Result<void> export_jpeg(const std::string& path) {
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  std::vector<uint8_t> px =
      read_back<uint8_t>(gpu::canvas_buffers.paint_image.framebuffer(), w, h, GL_RGB, 3, GL_UNSIGNED_BYTE);
  flip_rows(px, w, h, 3);
  TRY_ASSIGN(const std::vector<uint8_t> jpeg, jpeg_encode(px, w, h, jpeg_quality));
  AtomicFile file(path);
  if (!file.is_open() || !file.write(jpeg.data(), jpeg.size())) return Error{file.error()};
  return file.commit();
}

}  // namespace document
