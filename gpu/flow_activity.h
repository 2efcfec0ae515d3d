#pragma once
// What the flow can still do between frames. A frame with no stroke and no
// change of settings or layers may leave the simulation out when the last
// simulated frame ended in a state that another frame would not change, and
// may leave the paint's display out when the persistent velocity field holds
// only exact zeros (the advection then copies the paint unchanged).
#include <span>

#include "gpu/buffer.h"
#include "gpu/dirty_region.h"

namespace gpu {

struct FlowActivity {
  bool field_zero = true;  // velocity[0] holds only exact zeros
  // A frame of simulation would change nothing the picture or the next
  // frame's flow depends on: the field is zero and so is the pressure it
  // could be driven by (or nothing drives it: full fluidity, no curls).
  bool settled = true;
};

extern FlowActivity flow_activity;

// The box, in texels of `b` counted from its top-left corner, of the texels
// inside `within` with a channel among the first `channels` (2: red and
// green, 4: all) that is not exactly zero; empty when
// there are none. Found with occlusion queries over strips of rows and then
// of columns, and over single lines at the edges.
// Leaves framebuffer 0 bound and the canvas projection set.
PixelRect nonzero_box(const Buffer& b, const PixelRect& within, int channels = 2);

// Whether any texel of the one-channel `textures` (each w x h, like the
// canvas) inside `within` is not exactly zero: one occlusion query over them
// all.
// Leaves framebuffer 0 bound and the canvas projection set.
bool any_nonzero(std::span<const GLuint> textures, int w, int h, const PixelRect& within);

// The brush or a command may have written the field: nothing is known.
void flow_unknown();

}  // namespace gpu
