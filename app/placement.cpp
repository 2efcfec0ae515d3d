#include "app/placement.h"

WindowPlacement place_window(int canvas_w, int canvas_h, int desktop_w, int desktop_h) {
  WindowPlacement p;
  p.x = int((desktop_w - canvas_w + 4) * 0.5);
  p.y = int((desktop_h - canvas_h + 23) * 0.5);
  if (p.x < 10) {
    p.x = 0;
    p.outer_w = desktop_w - 30;
  } else {
    p.outer_w = canvas_w + 8;
  }
  if (p.y < 10) {
    p.y = 40;
    p.outer_h = desktop_h - 30;
  } else {
    p.outer_h = canvas_h + 29;
  }
  return p;
}
