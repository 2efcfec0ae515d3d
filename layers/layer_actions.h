#pragma once
// The layer panel's operations on the stack, beside the key operations of
// layer_stack.h: layers are addressed by their 0-based stack index, and each
// operation keeps the active layer number in step and sets layers.changed.
#include "layers/layer.h"

// Makes the layer at `index` the active one.
void activate_layer(int index);

// A new layer directly above (or below) the active one becomes active; it
// takes over the active layer's material, blend and style settings. With
// `copy` it also takes its paint, and a snapshot of it as its undo copy.
layer* insert_layer(bool above, bool copy);

// Removes the active layer unless it is the only one; the layer above it
// becomes active, or the one below when it was the top.
bool delete_active_layer();

// Steps the style: normal, additive, multiply, normal.
void cycle_style(layer& l);
