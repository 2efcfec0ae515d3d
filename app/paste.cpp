#include "app/paste.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/mask_mode.h"
#include "app/view.h"
#include "document/image_import.h"
#include "gpu/geometry.h"
#include "layers/canvas_setup.h"
#include "layers/layer.h"

Result<platform::ClipboardImage> clipboard_picture(const std::string& path) {
  TRY_ASSIGN(io::Pixmap picture, document::load_picture(path));
  platform::ClipboardImage image;
  image.width = picture.width;
  image.height = picture.height;
  image.channels = picture.has_alpha() ? 4 : 3;
  // Grey widens to RGB; a picture without alpha stays without it.
  const std::vector<uint8_t> rgba = picture.rgba();
  if (image.channels == 4) {
    image.pixels = rgba;
  } else {
    image.pixels.reserve(rgba.size() / 4 * 3);
    for (std::size_t i = 0; i < rgba.size(); i += 4) image.pixels.insert(image.pixels.end(), &rgba[i], &rgba[i + 3]);
  }
  return image;
}

bool paste(KeyContext& k) {
  std::optional<platform::ClipboardImage> image = k.dialogs.clipboard_image();
  if (!image || !layers.active) return false;
  const std::string size = std::to_string(image->width) + " x " + std::to_string(image->height);
  k.window.set_title("Change Resolution...");
  const platform::Answer a =
      k.dialogs.confirm("Change Resolution...", "Change Resolution...", platform::BoxButtons::yes_no_cancel);
  k.window.set_title(app.title);
  k.input.flush_keys();
  app.mouse_left = app.mouse_right = app.mouse_middle = false;
  if (a == platform::Answer::cancel) return false;
  const bool resize = a == platform::Answer::yes || a == platform::Answer::ok;
  if (resize && !valid_canvas_size(image->width, image->height)) {
    std::fprintf(stderr, "ollan: Change Resolution... a canvas of %s cannot be made: nothing was pasted\n",
                 size.c_str());
    return false;
  }
  set_mask_mode(false);
  io::Pixmap picture;
  picture.width = image->width;
  picture.height = image->height;
  picture.channels = image->channels;
  picture.pixels = std::move(image->pixels);
  if (Result<void> r = document::import_picture(picture, resize, int(k.screen_w), int(k.screen_h)); !r) {
    std::fprintf(stderr, "ollan: Change Resolution... %s\n", r.error().message.c_str());
    return false;
  }
  // As at the start of a stroke: the next stroke adds to this snapshot, so
  // Ctrl+Z after a paste and a stroke shows the layer before the paste.
  layers.active->UNDO_GET = undo_snapshot_taken;
  if (resize) {
    const int w = gpu::geometry.width, h = gpu::geometry.height;
    centre_view(k.screen_w, k.screen_h, w, h);
    reset_frame_corners(w, h);
  }
  return true;
}
