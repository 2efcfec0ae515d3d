#pragma once
// Crop mode and the canvas size keys. Shift+F2 (or the panel's MENU:CROP)
// shows a frame around the canvas; its corner handles drag it; a left press
// inside it (off the handles) or Shift+F2 again crops the canvas to it, a
// right press, F2 or Escape leaves without a change. Ctrl+F2 and
// Shift+Ctrl+F2 start a new canvas of twice or half the size after asking.
#include <optional>
#include <utility>
#include <vector>

#include "app/keys.h"
#include "base/vec.h"

struct CropFrame {
  vec2d top_left, bottom_right;  // window pixels, y down; either pair may be crossed while dragged
  int dragged = -1;              // the corner held by the pointer (0 top-left, then clockwise), -1 none
  bool over = false;             // the pointer is over the frame: a press there applies or cancels
  bool was_left = false, was_right = false;
  bool press_ends_mode = false;  // the press that applied or cancelled is still held
};
extern CropFrame crop_frame;

// F2 and the crop requests (the frame's step 5), then the handles and the
// presses of this frame. True while crop mode owns the pointer.
bool crop_frame_work(KeyContext& k, vec2d pointer, bool left, bool right);

// Leaves crop mode without cropping, as a right press in the frame does.
void cancel_crop();

// Moves the crop frame by `by` window pixels, along with the canvas it lies on.
void move_crop_frame(vec2d by);

// A new canvas of w x h (every layer dropped): crop mode and mask mode end
// first; the one layer is filled with the current paint colour; the view is
// zoom 1 with the canvas centred. False, changing nothing but the modes, when
// that canvas cannot be made.
bool start_new_canvas(KeyContext& k, int w, int h);

// The frame, its handles and the "w: h:" readout over the window.
void draw_crop_frame(float screen_w, float screen_h);

// Appends what the frame's drawing shows: a change redraws the window.
void add_crop_state(std::vector<float>& out);

// The canvas size Ctrl+F2 (`twice`) or Shift+Ctrl+F2 would make of w x h;
// nothing when that canvas cannot be made.
std::optional<std::pair<int, int>> stepped_canvas_size(int w, int h, bool twice);

// The canvas w x h the frame's corners `a` and `b` keep at `zoom`; nothing
// when that canvas cannot be made (a collapsed frame, a size beyond the
// largest canvas).
std::optional<std::pair<int, int>> cropped_size(vec2d a, vec2d b, float zoom);
