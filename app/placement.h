#pragma once
// Where the main window goes on the desktop for a canvas of W x H.

struct WindowPlacement {
  int x, y, outer_w, outer_h;
};

WindowPlacement place_window(int canvas_w, int canvas_h, int desktop_w, int desktop_h);
