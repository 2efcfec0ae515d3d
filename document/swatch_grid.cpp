#include "document/swatch_grid.h"

#include <algorithm>

SwatchGrid swatch_grid;

void arrange_column(SwatchColumn& column) {
  std::stable_sort(column.begin(), column.end(),
                   [](const colors& a, const colors& b) { return colors::CompareXY(b, a); });
}

void arrange_file_column(SwatchColumn& column) {
  if (column.empty()) return;
  int min_xi = column[0].xi, min_yi = column[0].yi;
  float min_x = column[0].x, min_y = column[0].y;
  for (const colors& c : column) {
    min_xi = std::min(min_xi, c.xi), min_yi = std::min(min_yi, c.yi);
    min_x = std::min(min_x, c.x), min_y = std::min(min_y, c.y);
  }
  for (colors& c : column) c.xi -= min_xi, c.yi -= min_yi, c.x -= min_x, c.y -= min_y;
  arrange_column(column);
}

int cell_at(const SwatchColumn& column, int xi, int yi) {
  for (std::size_t i = 0; i < column.size(); ++i)
    if (column[i].xi == xi && column[i].yi == yi) return int(i);
  return -1;
}

int neighbour(const SwatchColumn& column, int index, Side side) {
  if (index < 0 || std::size_t(index) >= column.size()) return -1;
  const colors& c = column[std::size_t(index)];
  switch (side) {
    case Side::left: return cell_at(column, c.xi - 1, c.yi);
    case Side::right: return cell_at(column, c.xi + 1, c.yi);
    case Side::top: return cell_at(column, c.xi, c.yi - 1);
    case Side::bottom: return cell_at(column, c.xi, c.yi + 1);
  }
  return -1;
}

void next_free_position(const SwatchColumn& column, int* xi, int* yi) {
  *xi = 0, *yi = 0;
  if (column.empty()) return;
  // After the last cell in reading order.
  const colors* last = &column[0];
  for (const colors& c : column)
    if (c.yi > last->yi || (c.yi == last->yi && c.xi > last->xi)) last = &c;
  *xi = last->xi + 1, *yi = last->yi;
  if (*xi >= swatch_row_cells) *xi = 0, ++*yi;
}

void SwatchGrid::add_column(float r, float g, float b) {
  colors cell;
  cell.set(r, g, b, 1);
  columns.push_back({cell});
  current_column = int(columns.size()) - 1;
}

bool SwatchGrid::remove_column(int i) {
  if (columns.size() <= 1 || i < 0 || std::size_t(i) >= columns.size()) return false;
  columns.erase(columns.begin() + i);
  current_column = std::min(i, int(columns.size()) - 1);
  if (selected_column == i)
    selected_column = selected_cell = -1;
  else if (selected_column > i)
    --selected_column;
  return true;
}

void SwatchGrid::store(int column, int cell, float r, float g, float b) {
  colors& c = columns.at(std::size_t(column)).at(std::size_t(cell));
  c.set(r, g, b, c.a);
  selected_column = column, selected_cell = cell;
}

void SwatchGrid::append(int column, float r, float g, float b) {
  SwatchColumn& col = columns.at(std::size_t(column));
  colors c;
  c.set(r, g, b, 1);
  next_free_position(col, &c.xi, &c.yi);
  // Placed where its grid position says, so that it sorts after the others.
  c.x = float(c.xi), c.y = float(c.yi);
  col.push_back(c);
  arrange_column(col);
  selected_column = column;
  selected_cell = cell_at(col, c.xi, c.yi);
}
