#pragma once
// Mask mode (Ctrl+Q, the brush-mode panel's MASK): the paint of the active
// layer when the mode starts is masked. Inside the mask the paint does not
// flow and the display shows it as it was; leaving the mode puts it back, so
// strokes in mask mode change only the unmasked canvas.

// Starts or leaves mask mode; nothing without an active layer.
void set_mask_mode(bool on);
void toggle_mask_mode();
