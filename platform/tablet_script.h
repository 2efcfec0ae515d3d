#pragma once
// The input script's pen as a tablet: each frame in which the script holds the
// pen posts one packet, so scripted strokes take the same road through the
// driver as a real pen's; "pen off" takes the pen out of proximity.
#include <cstdint>
#include <functional>

#include "platform/input.h"
#include "platform/tablet_queue.h"

namespace platform {

class ScriptedPenTablet final : public PacketTablet {
 public:
  // The size of the surface the pen draws on, in the pixels of the input's
  // mouse position.
  using SurfaceSize = std::function<void(int* w, int* h)>;

  // `window` stands for the window the pen draws on; the pen is where the
  // script's mouse is on `surface`.
  ScriptedPenTablet(Input& input, TabletWindow window, SurfaceSize surface);
  void next_frame() override;

  // The packet a scripted sample makes at (x, y), each 0..1 across the
  // surface from its top-left corner, in this tablet's axes.
  static tagPACKET packet_of(const PenSample& sample, float x, float y);

 private:
  Input& input_;
  SurfaceSize surface_;
  std::uint32_t frames_ = 0;
};

}  // namespace platform
