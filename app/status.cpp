#include "app/status.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/frame_state.h"
#include "app/text.h"
#include "app/view.h"
#include "brush/brush_settings.h"
#include "gpu/geometry.h"
#include "layers/layer.h"
#include "platform/gl.h"

namespace {

constexpr float label_scale = 1;

const char* const tool_names[4] = {"paint", "smudge", "erase", "average"};

std::string format(const char* fmt, double v) {
  char buf[48];
  std::snprintf(buf, sizeof buf, fmt, v);
  return buf;
}

// Light text over a dark shadow reads on light paint and dark alike.
void draw_readable(std::string_view text, float x, float y, const float rgb[3]) {
  glColor4f(0, 0, 0, 0.75f);
  draw_text(text, x + 1, y + 1, label_scale);
  glColor4f(rgb[0], rgb[1], rgb[2], 1);
  draw_text(text, x, y, label_scale);
}

const float label_rgb[3] = {0.95f, 0.93f, 0.88f};
const float prompt_rgb[3] = {1, 0.85f, 0.4f};

}  // namespace

void draw_status_text(float screen_w, float screen_h) {
  gpu::set_projection(int(screen_w), int(screen_h));
  glUseProgram(0);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

  const FrameState& f = frame_state;
  std::string line = tool_names[f.tool_mode & 3];
  line += format("  type %.0f", brush_settings.brush_type + 1);
  line += format("  size %.0f", brush_settings.size);
  line += format("  zoom %.0f%%", view.zoom * 100);
  if (view.angle != 0) line += format("  angle %.0f", std::fmod(view.angle, 360.0f));
  line += format("  layer %.0f", layers.active_number) + format("/%.0f", double(layers.list.size()));
  draw_readable(line, 6, screen_h - 6 - 16 * label_scale, label_rgb);

  if (modes.crop_mode) {
    draw_readable("MENU:", 6, 6, prompt_rgb);
    draw_readable("CROP", 6 + 5 * 8, 6, prompt_rgb);
    draw_readable("[LMB]ok [RMB]cancel", 6, 24, prompt_rgb);
  }
  glColor4f(1, 1, 1, 1);
  gpu::set_projection(gpu::geometry.width, gpu::geometry.height);
}
