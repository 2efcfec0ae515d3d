#pragma once
// The colour swatch grid: columns, left to right, of colour cells. Kept with
// projects and colour-swatch files; edited by the colour mixer. A cell's
// neighbours are found from the grid indices each time they are asked for,
// so adding or removing cells and columns never leaves a stale link.
#include <vector>

class colors {
 public:
  float r = 0, g = 0, b = 0, a = 1;
  int xi = 0, yi = 0;  // grid column and row index
  float x = 0, y = 0;  // position of the cell within its column

  void set(float r_, float g_, float b_, float a_) { r = r_, g = g_, b = b_, a = a_; }
  // True when `a` comes after `b`: cells sort by y, then by x.
  static bool CompareXY(const colors& a, const colors& b) { return a.x + 1000 * a.y > b.x + 1000 * b.y; }
};

using SwatchColumn = std::vector<colors>;

// Cells a row, in imported palettes and in cells added to a column.
inline constexpr int swatch_row_cells = 16;

enum class Side { left, right, top, bottom };

// Sorts the cells with CompareXY, keeping the order of cells that compare
// equal (a palette's cells all stand at 0, 0).
void arrange_column(SwatchColumn& column);
// A column read from a file: shifted so that its smallest xi, yi, x and y
// become 0, then arranged.
void arrange_file_column(SwatchColumn& column);
// The cell at grid position (xi, yi): its index, or -1.
int cell_at(const SwatchColumn& column, int xi, int yi);
// The neighbour of cell `index` on `side`: its index, or -1.
int neighbour(const SwatchColumn& column, int index, Side side);
// The grid position a cell added after the column's last cell takes: right
// of it, or the start of the next row after 16 cells.
void next_free_position(const SwatchColumn& column, int* xi, int* yi);

struct SwatchGrid {
  std::vector<SwatchColumn> columns;
  int current_column = 0;
  int selected_column = -1, selected_cell = -1;  // the cell the colour was last stored into

  // Appends a column holding one cell of the colour (alpha 1) at 0, 0 and
  // makes it current.
  void add_column(float r, float g, float b);
  // Removes column `i` while more than one is left; its right neighbour (or
  // the new last column) becomes current. False when refused.
  bool remove_column(int i);
  // Stores the colour into cell `cell` of column `column` and selects it.
  void store(int column, int cell, float r, float g, float b);
  // Appends a cell of the colour after the column's last one and selects it.
  void append(int column, float r, float g, float b);
};

extern SwatchGrid swatch_grid;
