#pragma once
// Drawing the floating panels: each panel's relief baked once into a normal
// map, then every frame panels and controls drawn as glass that refracts the
// window picture behind them, with their labels, dial needles and slider
// handles; and the program's own pointer.
#include <functional>
#include <string_view>

#include "gpu/buffer.h"
#include "ui/gui_context.h"

namespace ui {

// The generated control images: normal maps with coverage in alpha.
struct GuiImages {
  gpu::Texture button;  // rounded rectangle
  gpu::Texture dial;    // disc
};
GuiImages make_gui_images();

// Bakes the panel's relief into `relief` (RGBA16F, the panel's size) from its
// source image (a plain slab without one), with the controls' footprints
// punched out and the edges softened, and points the panel's `image` at it.
void bake_relief(gui_master& panel, gpu::Buffer& relief);

struct GuiPainter {
  // Draws text with its top-left at (x, y), client pixels, at `scale`.
  std::function<void(std::string_view text, float x, float y, float scale)> draw_text;
  float light_x = 0.5f, light_y = 0.5f;  // the light's position over the picture
};

// Copies the picture of the framebuffer bound now (w x h) into `screen_copy`,
// which the glass refracts; leaves that framebuffer bound.
void copy_screen(const gpu::Buffer& screen_copy, int w, int h);

// Draws the open panels over the framebuffer bound now, a screen of w x h,
// and fades their highlights by one frame.
void draw_gui(GuiContext& g, const GuiPainter& p, GLuint screen_copy, float screen_w, float screen_h);

// The pointer: over the canvas the brush outline of `brush_radius` pixels
// at `pos`; over a panel the toolkit's shape.
void draw_pointer(const GuiContext& g, vec2d pos, float brush_radius, float screen_w, float screen_h);
// The toolkit's pointer shape alone, for what else takes the pointer.
void draw_pointer_shape(PointerShape shape, vec2d pos, float screen_w, float screen_h);

}  // namespace ui
