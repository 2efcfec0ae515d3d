#pragma once
// The input a frame reads: keys pressed since last asked and held now, the
// mouse position and the wheel. Keys are named as SDL names them ("Escape",
// "Left Shift", "F9", "Z", "Keypad +").
#include <string_view>

namespace platform {

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
};

}  // namespace platform
