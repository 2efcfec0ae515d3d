#include "app/mode_requests.h"

#include "app/floating_panels.h"
#include "app/warp_mode.h"
#include "brush/stroke.h"
#include "gpu/simulation_settings.h"

void serve_mode_requests(platform::Window& window, platform::Input& input) {
  PanelRequests& r = panel_requests;
  // Leaving warp mode resamples the layer: not under a running stroke.
  if (r.warp && !stroke.started) {
    r.warp = 0;
    toggle_warp_mode(window, input);
  }
  if (r.substeps) {
    r.substeps = 0;
    gpu::simulation_settings.substep_mode ^= 1;
  }
}
