#include "gpu/buffer.h"
#include "gpu/canvas_buffers.h"
#include "gpu/flow_activity.h"
#include "gpu/simulation.h"
#include "gpu/simulation_settings.h"

namespace gpu {
namespace {

void clear_to_zero(const Buffer& target) {
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer());
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace

void clear_flow() {
  clear_to_zero(canvas_buffers.velocity[0]);
  clear_to_zero(canvas_buffers.velocity[1]);
  // The pressure may still drive the field: the next frame simulates.
  flow_activity.field_zero = true;
  flow_activity.settled = false;
}

}  // namespace gpu
