#pragma once
// Operations on the layer stack. Each acts on the active layer, keeps the
// active layer number in step and sets layers.changed when the active layer or
// the stack changed. Operations that need a neighbour do nothing at the end of
// the stack and return false.
#include "layers/layer.h"

// A new normal-style layer directly above the active one becomes active.
layer* add_layer();

// Merges the active layer into the one below, which becomes active. The key
// variant adds the paint amounts; the panel variant (`relief` true) adds only
// the film the lower layer lacks plus the upper layer's relief.
bool merge_down(bool relief = false);

bool select_below();
bool select_above();
bool move_down();
bool move_up();
void toggle_hidden();

// Shows the undo copy of the active layer instead of its live content, or the
// other way round. The caller also clears the simulation's working buffers.
void toggle_undo();

// Undo rules of a stroke on `l`: at its first painting frame a shown undo
// state becomes live, then a snapshot is taken unless one was taken already
// or `keep_snapshot` (Z held) asks to keep the previous one.
void undo_stroke_start(layer& l, bool keep_snapshot);
// Pen or mouse release.
void undo_stroke_end(layer& l);

// 0-based position of `l` in the stack, or -1.
int layer_index(const layer* l);
