#include "gpu/display_settings.h"

namespace gpu {

DisplaySettings display_settings;
canvas canvas_settings = start_canvas;

}  // namespace gpu
