#pragma once
// A client-sized colour buffer that stands for the window's screen. Frames
// draw into it and present copies it whole to the window, so what a frame
// left out still shows the last frame's pixels: a swapped back buffer's
// content is undefined, this buffer's is kept.
#include "platform/gl.h"

namespace platform {

class ScreenBuffer {
 public:
  ScreenBuffer() = default;
  ~ScreenBuffer();
  ScreenBuffer(const ScreenBuffer&) = delete;
  ScreenBuffer& operator=(const ScreenBuffer&) = delete;

  // Binds the buffer with a viewport of w x h, made again (content
  // undefined) when the size changed. False, with nothing bound, when the
  // driver cannot make a complete one.
  bool bind(int w, int h);
  // Copies the buffer into framebuffer 0's draw buffer and leaves
  // framebuffer 0 bound.
  void copy_to_window() const;
  // A buffer was made and holds the last frame.
  bool valid() const { return fbo_ != 0; }
  // Deletes the buffer; the GL context must be current.
  void release();

 private:
  GLuint fbo_ = 0, colour_ = 0;
  int w_ = 0, h_ = 0;
};

}  // namespace platform
