#pragma once
// The swatch grid on screen and its gestures: where the grab bar, the
// columns, their cells and the new-column button stand, what the pointer is
// over, and what a press there does. No GL: ui/color_mixer_draw.h draws it.
//
// Gestures: a left drag on the grab bar moves the grid; a left press on the
// new-column button (without Ctrl or Alt) adds a column holding the current
// colour; Ctrl with the right button on a column removes it while more than
// one is left. With no modifier, the left button on a cell picks its colour,
// the right button stores the current colour into it, and the right button
// on the free place after a column's last cell stores it into a new cell.
#include "base/vec.h"
#include "document/swatch_grid.h"
#include "ui/gui_context.h"

namespace ui {

inline constexpr float swatch_cell = 14;    // a cell's side, pixels
inline constexpr float swatch_gap = 6;      // between columns
inline constexpr float swatch_grab_h = 10;  // the grab bar's height
inline constexpr float swatch_button = 25;  // the new-column button's side

struct SwatchHit {
  enum class Kind : unsigned char { none, grab, new_column, cell, free_cell, column } kind = Kind::none;
  int column = -1, cell = -1;
};

// A column's place: its top-left and how many cells across and down it
// shows (one more place for the cell the right button would add).
struct ColumnBox {
  vec2d pos;
  int across = 1, down = 1;
};

struct SwatchPanel {
  vec2d origin = vec2d::Create(8, 116);  // top-left of the grab bar
  enum class Press : unsigned char { none, grid, elsewhere } press = Press::none;
  bool dragging = false;
  vec2d grab;  // pointer - origin when the drag began
  bool was_left = false, was_right = false;
  SwatchHit hover;

  ColumnBox column_box(const SwatchGrid& g, int column) const;
  // Where the new-column button stands (top-left).
  vec2d button_pos(const SwatchGrid& g) const;
  // The grid's whole width, grab bar included.
  float width(const SwatchGrid& g) const;
  SwatchHit hit(const SwatchGrid& g, vec2d p) const;
};

struct SwatchInput : PointerInput {
  float color[3] = {0, 0, 0};  // the current colour, for new and stored cells
};

// What one frame of the grid's gestures did.
struct SwatchOutcome {
  bool owns_pointer = false;  // over the grid, or a press begun on it is held
  bool pressed = false;       // a press began on the grid this frame
  bool picked = false;        // a cell was picked: `picked_color` is the new colour
  float picked_color[3] = {0, 0, 0};
};

SwatchOutcome swatch_pointer_pass(SwatchPanel& p, SwatchGrid& g, const SwatchInput& in);

}  // namespace ui
