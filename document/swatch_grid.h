#pragma once
// The colour swatch grid: columns, left to right, of colour cells. Kept with
// projects and colour-swatch files; edited by the colour mixer.
#include <vector>

class colors {
 public:
  float r = 0, g = 0, b = 0, a = 1;
  int xi = 0, yi = 0;  // grid column and row index
  float x = 0, y = 0;  // position of the cell within its column
};

struct SwatchGrid {
  std::vector<std::vector<colors>> columns;
  int current_column = 0;
};

extern SwatchGrid swatch_grid;
