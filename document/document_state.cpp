#include "document/document_state.h"

#include "brush/brush_settings.h"
#include "document/color_settings.h"
#include "document/frame_settings.h"
#include "document/parameters.h"
#include "document/swatch_grid.h"
#include "gpu/canvas_presets.h"
#include "gpu/display_settings.h"
#include "gpu/guide_settings.h"
#include "gpu/simulation_settings.h"

namespace document {

void reset_settings() {
  gpu::simulation_settings = {};
  gpu::display_settings = {};
  gpu::canvas_settings = gpu::start_canvas;
  gpu::canvas_presets = {};
  gpu::guide_settings = {};
  brush_settings = {};
  color_settings = {};
  frame_settings = {};
  swatch_grid = {};
  write_start_values();
}

}  // namespace document
