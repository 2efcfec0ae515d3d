#include "gpu/buffer.h"

#include <utility>

namespace gpu {
namespace {

void set_sampling(GLenum wrap, GLenum min_filter) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

}  // namespace

Texture Texture::create(int w, int h, GLenum internal_format, GLenum pixel_format, GLenum wrap, bool mipmap) {
  Texture t;
  t.w_ = w;
  t.h_ = h;
  glGenTextures(1, &t.tex_);
  glBindTexture(GL_TEXTURE_2D, t.tex_);
  set_sampling(wrap, mipmap ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
  if (mipmap) glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
  GLenum type = internal_format == GL_RGBA8 ? GL_UNSIGNED_BYTE : GL_FLOAT;
  glTexImage2D(GL_TEXTURE_2D, 0, internal_format, w, h, 0, pixel_format, type, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  return t;
}

Texture Texture::from_pixels(const uint8_t* rgba, int w, int h, GLenum internal_format, GLenum wrap) {
  Texture t;
  t.w_ = w;
  t.h_ = h;
  glGenTextures(1, &t.tex_);
  glBindTexture(GL_TEXTURE_2D, t.tex_);
  set_sampling(wrap, GL_LINEAR_MIPMAP_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, internal_format, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  glGenerateMipmap(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
  return t;
}

Texture& Texture::operator=(Texture&& o) noexcept {
  if (this != &o) {
    reset();
    tex_ = std::exchange(o.tex_, 0);
    w_ = o.w_;
    h_ = o.h_;
  }
  return *this;
}

void Texture::reset() {
  if (tex_) glDeleteTextures(1, &tex_);
  tex_ = 0;
}

Buffer Buffer::create(int w, int h, GLenum internal_format, GLenum pixel_format, GLenum wrap) {
  Buffer b;
  b.w_ = w;
  b.h_ = h;
  glGenTextures(1, &b.tex_);
  glBindTexture(GL_TEXTURE_2D, b.tex_);
  set_sampling(wrap, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, internal_format, w, h, 0, pixel_format, GL_FLOAT, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  glGenFramebuffers(1, &b.fbo_);
  glBindFramebuffer(GL_FRAMEBUFFER, b.fbo_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, b.tex_, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  return b;
}

Buffer& Buffer::operator=(Buffer&& o) noexcept {
  if (this != &o) {
    reset();
    tex_ = std::exchange(o.tex_, 0);
    fbo_ = std::exchange(o.fbo_, 0);
    w_ = o.w_;
    h_ = o.h_;
  }
  return *this;
}

void Buffer::reset() {
  if (fbo_) glDeleteFramebuffers(1, &fbo_);
  if (tex_) glDeleteTextures(1, &tex_);
  fbo_ = tex_ = 0;
}

void Buffer::bind_target() const {
  glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
  glViewport(0, 0, w_, h_);
}

void Buffer::make_mipmapped(GLenum mag_filter) const {
  glBindTexture(GL_TEXTURE_2D, tex_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag_filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glGenerateMipmap(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
}

void bind_texture(int unit, GLuint tex) {
  glActiveTexture(GL_TEXTURE0 + unit);
  glBindTexture(GL_TEXTURE_2D, tex);
  glActiveTexture(GL_TEXTURE0);
}

void disable_color_clamping() {
  glClampColor(GL_CLAMP_VERTEX_COLOR, GL_FALSE);
  glClampColor(GL_CLAMP_FRAGMENT_COLOR, GL_FALSE);
  glClampColor(GL_CLAMP_READ_COLOR, GL_FALSE);
}

}  // namespace gpu
