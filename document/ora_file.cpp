#include "document/ora_file.h"

#include <vector>

#include "document/image_export.h"
#include "document/image_import.h"
#include "gpu/geometry.h"
#include "io/atomic_file.h"
#include "io/ora.h"
#include "layers/canvas_setup.h"
#include "layers/layer.h"
#include "platform/gl.h"

namespace document {

using namespace io;

Result<void> save_ora(const std::string& path) {
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  if (!layers.active) return Error{"there is no painting to save"};
  const std::size_t n = layers.list.size();
  std::vector<std::vector<float>> pictures;
  std::vector<OraLayerOut> out;
  pictures.reserve(n);
  for (std::size_t i = n; i-- > 0;) {
    const layer& l = *layers.list[i];
    pictures.push_back(render_lit_layer(l, w, h, true));
    out.push_back({"Layer " + std::to_string(i + 1), l.hidden == 0, l.opacity, l.style, pictures.back()});
  }
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  const std::vector<float> merged = lit_picture();
  AtomicFile file(path);
  if (!file.is_open()) return Error{file.error()};
  TRY(write_ora(file, w, h, out, merged));
  return file.commit();
}

Result<void> load_ora(const std::string& path, int screen_w, int screen_h) {
  TRY_ASSIGN(std::vector<uint8_t> bytes, read_file(path, std::size_t(1) << 32));
  OraLimits limits;
  limits.max_side = max_canvas_side;
  TRY_ASSIGN(OraImage image, read_ora(bytes, limits));
  bytes = {};
  const float clear_rgb[3] = {0, 0, 0};
  if (!valid_canvas_size(image.width, image.height) ||
      !create_canvas(image.width, image.height, clear_rgb, screen_w, screen_h))
    return Error{"a canvas of " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                 " cannot be made"};
  layer* below = nullptr;
  // The image lists its layers top first; the stack starts at the bottom.
  for (std::size_t i = image.layers.size(); i-- > 0;) {
    OraLayerIn& in = image.layers[i];
    layer* l = below ? layer::Create(below, 0) : layers.active;
    l->hidden = in.visible ? 0 : 1;
    l->opacity = in.opacity;
    l->style = in.style;
    lay_picture(*l, in.picture, float(in.x), float(in.y));
    in.picture = {};
    // Ctrl+Z right after loading shows the loaded layer, not an empty one.
    l->store_undo();
    l->UNDO_GET = 0;
    below = l;
  }
  layers.active = below;
  layers.active_number = int(image.layers.size());
  layers.changed = true;
  return {};
}

}  // namespace document
