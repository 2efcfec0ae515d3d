#pragma once
// Whole-layer actions of the keys and the brush-mode panel.

// Shift+Ctrl+F and the panel's FL: the active layer's colours stretched to
// the full range, undoable with Ctrl+Z.
void normalise_active_layer();

// The active layer's content is kept in its undo copy before an action
// changes all of it, as at the start of a stroke.
void snapshot_active_layer();
