#pragma once
// The "BRUSH IMAGE" panel with the brush-image options, and the strip of
// thumbnails beside it, one entry per brush image. The controls leave
// requests; the frame turns them into changes of the brush images.
#include <vector>

#include "gpu/buffer.h"
#include "ui/gui_context.h"
#include "ui/gui_draw.h"

namespace ui {

struct BrushImageRequests {
  static constexpr unsigned char none = 0xff;
  unsigned char use = 0, colour = 0, perspective = 0, grain = 0;  // 1: flip the option
  unsigned char capture = 0;                                      // the "i" button: 2
  unsigned char pick = none;                                      // a strip entry: its image's index
};
extern BrushImageRequests brush_image_requests;

// Builds both panels into `g` (the strip empty) with their reliefs.
void build_brush_image_panels(GuiContext& g, const GuiImages& images);

// Opens both panels when `show`, else closes them, and rebuilds the strip's
// entries when the brush-image list changed: an entry never outlives its image.
// The strip shows as many entries as fit beside the panel on a screen
// `screen_w` wide.
void update_brush_image_panels(GuiContext& g, bool show, float screen_w);

// The strip's entries as the pointer pass and drawing see them.
struct StripEntry {
  std::string name;
  int image = 0;
  float x = 0;             // within the strip
  unsigned thumbnail = 0;  // the texture shown
};
std::vector<StripEntry> strip_entries(GuiContext& g);

// The same between the pointer pass and drawing (a file loaded meanwhile may
// have replaced the images), with the panels' state kept.
void refresh_brush_image_panels(GuiContext& g);

// Forgets the panels (their GL objects go with them).
void release_brush_image_panels();

}  // namespace ui
