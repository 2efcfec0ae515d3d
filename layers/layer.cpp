#include "layers/layer.h"

#include <algorithm>
#include <cmath>

#include "gpu/display.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"

LayerState layers;

gpu::Buffer layer::fbo_create(GLenum internal_format, GLenum format) {
  glClearColor(0, 0, 0, 0);
  return gpu::Buffer::create(gpu::geometry.width, gpu::geometry.height, internal_format, format, GL_MIRRORED_REPEAT);
}

layer* layer::Create(layer* after, unsigned char style) {
  auto l = std::make_unique<layer>();
  l->style = style;
  l->col = fbo_create(GL_RGBA16F, GL_RGBA);
  l->mat = fbo_create(GL_R32F, GL_RED);
  l->undo_col_buffer = fbo_create(GL_RGBA16F, GL_RGBA);
  l->undo_mat_buffer = fbo_create(GL_R32F, GL_RED);
  l->width = float(gpu::geometry.width);
  l->height = float(gpu::geometry.height);
  layer* raw = l.get();
  auto& list = layers.list;
  auto at = std::find_if(list.begin(), list.end(), [after](const auto& p) { return p.get() == after; });
  if (!after || at == list.end())
    list.push_back(std::move(l));
  else
    list.insert(at + 1, std::move(l));
  return raw;
}

namespace {

// Copies must carry colour where coverage is 0 too: the alpha test that drops
// transparent fragments is off while one runs.
class CopyState {
 public:
  CopyState() : alpha_test_(glIsEnabled(GL_ALPHA_TEST)) { glDisable(GL_ALPHA_TEST); }
  ~CopyState() {
    if (alpha_test_) glEnable(GL_ALPHA_TEST);
  }

 private:
  GLboolean alpha_test_;
};

}  // namespace

void blit(const gpu::Buffer& from, const gpu::Buffer& to) {
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, from.framebuffer());
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to.framebuffer());
  glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_LINEAR);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void layer::store_undo() {
  blit(col, undo_col_buffer);
  blit(mat, undo_mat_buffer);
}

void layer::get_undo() {
  blit(undo_col_buffer, col);
  blit(undo_mat_buffer, mat);
}

void layer::transform(vec2d p, vec2d s) {
  CopyState copying;
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  gpu::set_projection(w, h);
  glUseProgram(0);
  glDisable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  auto redraw = [&](gpu::Buffer& live, GLenum internal_format, GLenum format) {
    glClearColor(0, 0, 0, 0);
    gpu::Buffer temp = gpu::Buffer::create(w, h, internal_format, format, GL_CLAMP_TO_EDGE);
    gpu::bind_texture(0, live.texture());
    gpu::textured_rect(p.x, p.y, s.x, s.y);
    live.bind_target();
    glClear(GL_COLOR_BUFFER_BIT);
    gpu::bind_texture(0, temp.texture());
    gpu::full_quad();
  };
  redraw(col, GL_RGBA16F, GL_RGBA);
  redraw(mat, GL_R32F, GL_RED);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glEnable(GL_BLEND);
}

void layer::blendmode() const {
  GLint current = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &current);
  gpu::apply_blend_style(style, GLuint(current) == gpu::program(gpu::Prog::paint_display).id() && current != 0);
}

void layer::display(bool show_undo) const {
  blendmode();
  gpu::bind_texture(0, show_undo ? undo_mat() : fbo_mat());
  gpu::bind_texture(1, show_undo ? undo_col() : fbo_col());
}

void layer::display_mat(bool show_undo) const {
  gpu::apply_blend_style(style, false);
  gpu::bind_texture(0, show_undo ? undo_mat() : fbo_mat());
  gpu::bind_texture(1, show_undo ? undo_mat() : fbo_mat());
}

void layer::make_undo_live() {
  if (showing_undo()) get_undo();
  UNDO_GET = 0;
}

void layer::resample(int w, int h, float ox, float oy) {
  CopyState copying;
  gpu::set_projection(w, h);
  glUseProgram(0);
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  if (showing_undo()) {
    get_undo();
    UNDO_GET = 0;
  }
  const int old_w = int(width), old_h = int(height);
  auto move = [&](gpu::Buffer& live, gpu::Buffer& undo, GLenum internal_format, GLenum format) {
    glClearColor(0, 0, 0, 0);
    gpu::Buffer temp = gpu::Buffer::create(old_w, old_h, internal_format, format, GL_CLAMP_TO_EDGE);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, live.framebuffer());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, temp.framebuffer());
    glBlitFramebuffer(0, 0, old_w, old_h, 0, 0, old_w, old_h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    live = fbo_create(internal_format, format);
    undo = fbo_create(internal_format, format);
    live.bind_target();
    glEnable(GL_TEXTURE_2D);
    gpu::bind_texture(0, temp.texture());
    // Whole-pixel shifts copy pixels exactly; a fractional one interpolates.
    const GLint filter = (ox == std::floor(ox) && oy == std::floor(oy)) ? GL_NEAREST : GL_LINEAR;
    glBindTexture(GL_TEXTURE_2D, temp.texture());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    gpu::textured_rect(ox, oy, float(old_w), float(old_h));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, live.framebuffer());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, undo.framebuffer());
    glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  };
  move(col, undo_col_buffer, GL_RGBA16F, GL_RGBA);
  move(mat, undo_mat_buffer, GL_R32F, GL_RED);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  width = float(gpu::geometry.width);
  height = float(gpu::geometry.height);
  glEnable(GL_BLEND);
}

void layer::remove() {
  auto& list = layers.list;
  auto at = std::find_if(list.begin(), list.end(), [this](const auto& p) { return p.get() == this; });
  if (layers.active == this) layers.active = nullptr;
  if (at != list.end()) list.erase(at);  // destroys *this and its buffers
}

void delete_all_layers() {
  layers.list.clear();
  layers.active = nullptr;
  layers.active_number = 1;
}
