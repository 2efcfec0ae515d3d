#include "app/text.h"

#include <algorithm>

#include "app/app_state.h"
#include "gpu/buffer.h"
#include "platform/gl.h"

namespace {

constexpr float strip_width = 776;  // 97 cells of 8 pixels

}  // namespace

void draw_text(std::string_view text, float x, float y, float scale) {
  const float w = 8 * scale;
  gpu::bind_texture(0, app.font.id());
  glBegin(GL_QUADS);
  float cx = x;
  for (char ch : text) {
    const int c = static_cast<unsigned char>(ch);
    if (c == '\n') {
      cx = x;
      y += 2 * w;
      continue;
    }
    if (c != ' ' && c >= 31 && c <= 127) {
      const float u0 = float(c - 31) * 8 / strip_width;
      const float u1 = u0 + 1.0f / 95 - (c == 'A' ? 1.0f / 1520 : 0);
      glTexCoord2f(u0, 0);
      glVertex2f(cx, y);
      glTexCoord2f(u0, 0.95f);
      glVertex2f(cx, y + 2 * w);
      glTexCoord2f(u1, 0.95f);
      glVertex2f(cx + w, y + 2 * w);
      glTexCoord2f(u1, 0);
      glVertex2f(cx + w, y);
    }
    cx += w;
  }
  glEnd();
  gpu::bind_texture(0, 0);
}

float text_width(std::string_view text, float scale) {
  std::size_t longest = 0, run = 0;
  for (char ch : text) {
    run = ch == '\n' ? 0 : run + 1;
    longest = std::max(longest, run);
  }
  return float(longest) * 8 * scale;
}
