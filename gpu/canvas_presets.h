#pragma once
// The three canvas presets (one per canvas mode: noise, weave, loaded picture)
// that projects keep, the current one, and whether the canvas is a custom
// picture that projects carry with them.
#include "gpu/display_settings.h"

namespace gpu {

struct CanvasPresets {
  canvas presets[3] = {
      {0, 0, 0.5f, 0, 0.5f, 0.5f, 1.0f, 0.35f},
      {1, 0, 0.5f, 0, 0.5f, 0.75f, 0.1f, 0},
      {2, 0, 0.5f, 0, 0.5f, 0.5f, 1.0f, 0.35f},
  };
  unsigned char current = 1;        // its values are those of the canvas dials
  unsigned char custom_canvas = 0;  // canvas_source holds a picture saved with projects
};

// "Defaults" assigns CanvasPresets{}.
extern CanvasPresets canvas_presets;

}  // namespace gpu
