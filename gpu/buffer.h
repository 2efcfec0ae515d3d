#pragma once
// Owners of GL textures and framebuffers. A Buffer is a texture plus the
// framebuffer whose colour attachment 0 is that texture; a Texture has no
// framebuffer. Both are move-only and delete their GL names when destroyed.
#include <cstdint>

#include "platform/gl.h"

namespace gpu {

class Texture {
 public:
  Texture() = default;
  // Level 0 of w x h with no data; linear filtering (trilinear with `mipmap`,
  // which also turns on automatic mipmap generation). Pixel type is unsigned
  // byte for GL_RGBA8 and float otherwise.
  static Texture create(int w, int h, GLenum internal_format, GLenum pixel_format, GLenum wrap, bool mipmap);
  // An 8-bit RGBA picture (top row first, as decoded) with automatic mipmaps,
  // linear magnification and trilinear minification.
  static Texture from_pixels(const uint8_t* rgba, int w, int h, GLenum internal_format, GLenum wrap);

  Texture(Texture&& o) noexcept { *this = static_cast<Texture&&>(o); }
  Texture& operator=(Texture&& o) noexcept;
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;
  ~Texture() { reset(); }
  void reset();

  GLuint id() const { return tex_; }
  int width() const { return w_; }
  int height() const { return h_; }
  explicit operator bool() const { return tex_ != 0; }

 private:
  GLuint tex_ = 0;
  int w_ = 0, h_ = 0;
};

class Buffer {
 public:
  Buffer() = default;
  // Texture of w x h (level 0, no data, linear filtering, `wrap` in both
  // directions) and its framebuffer, cleared with the current clear colour.
  // The framebuffer is left bound.
  static Buffer create(int w, int h, GLenum internal_format, GLenum pixel_format, GLenum wrap);

  Buffer(Buffer&& o) noexcept { *this = static_cast<Buffer&&>(o); }
  Buffer& operator=(Buffer&& o) noexcept;
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  ~Buffer() { reset(); }
  void reset();

  GLuint texture() const { return tex_; }
  GLuint framebuffer() const { return fbo_; }
  int width() const { return w_; }
  int height() const { return h_; }
  explicit operator bool() const { return tex_ != 0; }

  // Binds the framebuffer as the render target with a viewport of its size.
  void bind_target() const;
  // Gives the texture trilinear minification and builds its mipmaps now.
  void make_mipmapped(GLenum mag_filter) const;

 private:
  GLuint tex_ = 0, fbo_ = 0;
  int w_ = 0, h_ = 0;
};

// Binds `tex` to texture unit `unit` (0 unbinds).
void bind_texture(int unit, GLuint tex);

// Switches off the clamping of vertex colours, fragment colours and read-back,
// so float colours pass through unclamped.
void disable_color_clamping();

}  // namespace gpu
