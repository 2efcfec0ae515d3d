#pragma once
// The radial controls of the main control panel (`interface`): hit test,
// press, the dial drag and the write-back of a position to the setting. The
// arithmetic is pure so that it can be tested on its own; the controls reach
// their settings only through the parameter model.
//
// Positions follow the panel's table: x is measured leftward from the
// window's right edge (the control's left edge is at screen width - x), y
// from the top; a child's position is its group's plus its own.
#include <optional>
#include <string>

#include "base/vec.h"
#include "document/parameters.h"

namespace ui {

enum class InterfaceKind : unsigned char {
  group = 0,
  step_button = 1,
  toggle = 2,  // byte XOR 1
  dial = 3,
  menu_button = 7,  // byte XOR 1, a request the frame consumes
  layer_list = 8,
};

// A pixel of drag moves a dial by this fraction of its range (of one unit
// when it is unbounded), times the control's multiplier; Ctrl makes it finer.
inline constexpr float dial_step = 0.005f;
inline constexpr float fine_scale = 1 - 0.42f * 2;

class interface {
 public:
  InterfaceKind gadget = InterfaceKind::group;
  bool active = true;        // takes part in input
  bool show = true;          // drawn
  bool hover = false;        // the pointer is over it
  bool fine = false;         // Ctrl held: fine adjustment in force
  float low = 0, high = 0;   // range of the edited value; low > high reverses, low == high leaves it unbounded
  float least = 0;           // unbounded: the least value written
  float value_remapped = 0;  // a dial's position: 0..1 of its range, the value itself when unbounded
  float mult = 1;            // drag speed multiplier
  float prev_value = 0;      // position where the current drag (re)started
  vec2d pos, rel_pos, size;  // pos: x leftward from the right edge, y down; rel_pos within the parent
  vec2d trap_pos;            // pointer where the current drag (re)started
  float color[4] = {0, 0, 0, 0};
  float transparency = 0.75f;  // 0.75 minus the tint's alpha
  std::string name;
  int parent = -1;  // index of the enclosing group in the panel, or -1
  std::optional<document::ParamId> param;

  // A control of `kind` at `pos` (its own; the parent's is added by the panel).
  static interface Create(std::string name, InterfaceKind kind, vec2d pos, vec2d size, float low, float high,
                          const float tint[4], std::optional<document::ParamId> param, int parent);

  bool reversed() const { return low > high; }
  bool unbounded() const { return low == high; }

  // Left edge in window pixels on a window `screen_w` wide.
  float left(float screen_w) const { return screen_w - pos.x; }
  // Hit test: group boxes, step buttons, toggles and dials are discs of the
  // control's width, the others rectangles.
  bool mouse(vec2d p, float screen_w) const;
  // The control's rectangle: a group box's background.
  bool covers(vec2d p, float screen_w) const;

  // The position of a setting's value, and the value a position writes
  // (clamped to the range; unbounded, at least `least`).
  float position_of(float value) const;
  float value_at(float position) const;

  // A press at p begins a drag of a setting now at `value`.
  void init_adjustment(vec2d p, float value, bool ctrl);
  // The drag at p, with the setting now at `value`: returns the value to
  // write. Changing Ctrl re-anchors the drag so the value does not jump, and
  // so does passing an end of the range, so that turning back acts at once.
  float adjust_value(vec2d p, float value, bool ctrl);
};

}  // namespace ui
