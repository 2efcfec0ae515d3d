#pragma once
// The layer list of the main control panel, as arithmetic: where its rows
// stand, which row and which of a row's buttons lie under the pointer, what
// a press or a drag there asks of the layer stack, and the name shown for
// what is under the pointer. Layers are addressed by their 0-based index in
// the stack, counted from the bottom.
#include <optional>
#include <string>

#include "base/vec.h"

namespace ui {

inline constexpr float layer_row_height = 32;

// The rows shown: laid out downward from the list control's top-left corner,
// the upper layer above, as many as fit above the window's bottom edge (one
// at least); when not all fit, the shown ones keep the active layer in view.
struct LayerRows {
  vec2d origin;     // top-left corner of the first row, window pixels
  float width = 0;  // of a row
  int first = 0;    // stack index of the layer in the first row
  int count = 0;    // rows shown
  // The top-left corner of the row of stack index i (one of those shown).
  vec2d row_origin(int i) const { return origin.addxy(0, float(first - i) * layer_row_height); }
  bool shows(int i) const { return i <= first && i > first - count; }
};
LayerRows layout_layer_rows(vec2d origin, float width, int layer_count, int active, float screen_h);

// The stack index of the row under p, or none when p is off the rows; a
// point on the rows' last pixel line still belongs to the last row shown.
std::optional<int> layer_row_at(const LayerRows& rows, vec2d p);

enum class RowPart : unsigned char { body, visibility, upper, lower, mode };
// The part of a row under q, measured from the row's top-left corner. The
// upper and lower buttons move right while the layer is hidden, as its
// visibility switch grows.
RowPart row_part(vec2d q, bool hidden);

enum class LayerAction : unsigned char {
  none,
  select,
  toggle_hidden,
  add_above,
  add_below,
  copy_above,
  copy_below,
  merge_up,
  merge_down,
  cycle_style,
  delete_layer,
  move_down,
  move_up,
};

// A press on `part` of a row: the visibility switch acts on any row, other
// parts select an inactive row, and act through the buttons of the active
// one. Shift copies, Ctrl merges (modifier bits: Shift 1, Ctrl 2).
LayerAction press_action(RowPart part, bool row_is_active, unsigned char modifiers);

// The status name of what the pointer is over; `style` 0 normal, 1 additive,
// 2 multiply.
std::string hover_name(RowPart part, unsigned char modifiers, unsigned char style);
// The symbol drawn on the mode button.
const char* style_symbol(unsigned char style);

// A drag that began at `trap` and is now at p: far enough sideways (less so
// the more it strays vertically) to ask for deleting the layer.
bool drags_to_delete(vec2d trap, vec2d p);
// Each full row the pointer moved down from `trap` moves the layer down one
// place (negative steps), each row up one place up; `trap` follows by the
// rows counted.
int reorder_steps(vec2d& trap, vec2d p);

}  // namespace ui
