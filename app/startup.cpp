#include "app/startup.h"

#include <cstdio>
#include <string>

#include "app/app_state.h"
#include "app/color_mixer.h"
#include "app/file_commands.h"
#include "app/file_requests.h"
#include "app/floating_panels.h"
#include "app/frame.h"
#include "app/frame_changes.h"
#include "app/frame_state.h"
#include "app/lasso.h"
#include "app/layer_fx.h"
#include "app/pen_input.h"
#include "app/placement.h"
#include "app/view.h"
#include "base/random.h"
#include "brush/bristle.h"
#include "brush/stroke.h"
#include "document/brush_images.h"
#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "io/png_import.h"
#include "layers/canvas_setup.h"
#include "layers/layer.h"
#include "platform/embedded.h"
#include "ui/handle.h"

AppState app;
ModeState modes;

void reset_application_state() {
  gpu::Texture font = std::move(app.font);
  gpu::Texture icons[4];
  for (int i = 0; i < 4; ++i) icons[i] = std::move(app.icons[i]);
  app = AppState{};
  app.font = std::move(font);
  for (int i = 0; i < 4; ++i) app.icons[i] = std::move(icons[i]);
  modes = ModeState{};
  view = ViewState{};
  frame_state = FrameState{};
  pen_state = PenState{};
  file_commands = FileCommandState{};
  handle_list.clear();
  color_mixer = ColorMixerState{};
  reset_layer_fx();
  reset_lasso();
}

namespace {

const char* const icon_names[4] = {"ICON_s_paint.png", "ICON_s_smudge.png", "ICON_s_erase.png", "ICON_s_average.png"};

// An embedded PNG as RGBA, top row first; an empty pixmap (after saying so)
// when it is missing or damaged.
io::Pixmap embedded_picture(const char* name) {
  const EmbeddedFile* f = find_embedded(name);
  Result<io::Pixmap> image = f ? io::TPixmapLoaderPNG::LoadPixmap({f->data, f->size}) : Error{"missing"};
  if (!image) {
    std::fprintf(stderr, "ollan: embedded image %s: %s\n", name, image.error().message.c_str());
    return {};
  }
  io::Pixmap p = std::move(*image);
  p.pixels = p.rgba();
  p.channels = 4;
  return p;
}

gpu::Texture embedded_texture(const char* name, bool flip) {
  io::Pixmap image = embedded_picture(name);
  if (image.pixels.empty()) return {};
  if (flip) {
    const size_t row = size_t(image.width) * 4;
    for (int y = 0; y < image.height / 2; ++y)
      std::swap_ranges(image.pixels.begin() + y * row, image.pixels.begin() + (y + 1) * row,
                       image.pixels.begin() + (image.height - 1 - y) * row);
  }
  return gpu::Texture::from_pixels(image.pixels.data(), image.width, image.height, GL_RGBA8, GL_CLAMP_TO_BORDER);
}

void set_base_gl_state(int w, int h) {
  glFlush();
  gpu::set_projection(w, h);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_NOTEQUAL, 0.0f);
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_LINE_SMOOTH);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
}

const float start_paint_color[3] = {0.25f, 0.1f, 0.05f};

}  // namespace

bool start_up(Session& s, const Options& options) {
  platform::Window& window = s.window;
  seed_random(options.seed);
  window.set_title(app.title);
  // The paint tool's icon stands for the program in the window manager.
  const io::Pixmap icon = embedded_picture("ICON_s_paint.png");
  if (!icon.pixels.empty()) window.set_icon(icon.pixels.data(), icon.width, icon.height);
  const int w = options.canvas_w, h = options.canvas_h;
  gpu::set_canvas_size(w, h);
  reset_frame_corners(w, h);
  set_base_gl_state(w, h);

  std::string log;
  if (!gpu::build_programs(&log)) {
    std::fprintf(stderr, "ollan: the GPU programs could not be built\n");
    return false;
  }

  int desktop_w = 0, desktop_h = 0;
  window.desktop_size(&desktop_w, &desktop_h);
  WindowPlacement p = place_window(w, h, desktop_w, desktop_h);
  window.place(p.x, p.y, p.outer_w, p.outer_h);
  int sw = 0, sh = 0;
  window.client_size(&sw, &sh);
  app.screen_w = float(sw);
  app.screen_h = float(sh);

  if (!create_canvas(w, h, start_paint_color, sw, sh)) {
    std::fprintf(stderr, "ollan: no canvas of %d x %d can be made\n", w, h);
    return false;
  }

  app.font = embedded_texture("font.png", false);
  for (int i = 0; i < 4; ++i) app.icons[i] = embedded_texture(icon_names[i], true);

  open_pen(s.window, s.input, frame_state);
  create_bristles();

  centre_view(app.screen_w, app.screen_h, w, h);
  FrameState& f = frame_state;
  s.input.mouse_position(&f.raw.x, &f.raw.y);
  f.rotated = f.smoothed = f.raw;
  if (!options.file.empty()) load_file_at_start(s, options.file);
  window.show_cursor(false);
  change_tracker.invalidate();
  return true;
}

void release_gpu_objects() {
  release_floating_panels();
  document::reset_brush_images();
  gpu::CanvasBuffers& b = gpu::canvas_buffers;
  // display buffers, then the layers, then the work buffers
  b.view_image.reset();
  b.canvas_image.reset();
  b.paint_image.reset();
  b.mask.reset();
  b.scratch.reset();
  b.canvas_normals.reset();
  delete_all_layers();
  gpu::delete_canvas_buffers();
  release_brush_buffers();
  app.font.reset();
  for (gpu::Texture& t : app.icons) t.reset();
  gpu::release_programs();
}
