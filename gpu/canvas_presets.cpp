#include "gpu/canvas_presets.h"

namespace gpu {

CanvasPresets canvas_presets;

}  // namespace gpu
