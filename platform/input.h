#pragma once
// The input a frame reads: keys pressed since last asked and held now, the
// mouse position and the wheel. Keys are named as SDL names them ("Escape",
// "Left Shift", "F9", "Z", "Keypad +").
#include <string_view>

namespace platform {

// A pen packet as an input script states it (a live pen arrives through the
// tablet driver instead). Angles in degrees as the tablet reports them.
struct PenSample {
  float pressure = 0;   // 0..1
  float azimuth = 0;    // 0..360
  float altitude = 90;  // 90 is upright
  bool eraser = false;
};

class Input {
 public:
  virtual ~Input() = default;

  // True once per press: the press is consumed by asking.
  virtual bool key_hit(std::string_view key) = 0;
  virtual bool key_down(std::string_view key) = 0;
  // Forgets pending presses and held keys (after a modal box, for instance).
  virtual void flush_keys() = 0;

  // Pointer position in client pixels.
  virtual void mouse_position(float* x, float* y) = 0;
  // Wheel notches (positive away from the user) since the last discard.
  virtual int wheel() = 0;
  virtual void discard_wheel() = 0;

  // The scripted pen's packet for this frame; false when no scripted pen is live.
  virtual bool scripted_pen(PenSample*) { return false; }
};

}  // namespace platform
