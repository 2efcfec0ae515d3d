// The swatch grid: its order and neighbours from the grid indices, and every
// gesture of the grid on screen, frame by frame as the pointer gives them.
#include <gtest/gtest.h>

#include "document/swatch_grid.h"
#include "ui/swatch_panel.h"

namespace {

using ui::SwatchHit;
using K = SwatchHit::Kind;

colors cell(float r, int xi, int yi, float x = 0, float y = 0) {
  colors c;
  c.set(r, 0, 0, 1);
  c.xi = xi, c.yi = yi, c.x = x, c.y = y;
  return c;
}

SwatchColumn row_column(int n) {
  SwatchColumn c;
  for (int i = 0; i < n; ++i) c.push_back(cell(float(i), i % swatch_row_cells, i / swatch_row_cells));
  return c;
}

// Drives the grid's pointer pass with one pointer state per frame.
struct Pointer {
  ui::SwatchPanel panel;
  SwatchGrid grid;
  float colour[3] = {0.2f, 0.4f, 0.6f};
  ui::SwatchOutcome last;

  ui::SwatchOutcome frame(vec2d pos, bool left, bool right, unsigned char mods = 0, bool others_own = false) {
    ui::SwatchInput in;
    in.pos = pos;
    in.left = left, in.right = right;
    in.modifier_keys = mods;
    in.screen_w = 640, in.screen_h = 480;
    in.others_own = others_own;
    std::copy(colour, colour + 3, in.color);
    return last = ui::swatch_pointer_pass(panel, grid, in);
  }
  // A press and release at `pos`; returns the press frame's outcome.
  ui::SwatchOutcome click(vec2d pos, bool right = false, unsigned char mods = 0) {
    frame(pos, false, false, mods);
    const ui::SwatchOutcome o = frame(pos, !right, right, mods);
    frame(pos, !right, right, mods);
    frame(pos, false, false, mods);
    return o;
  }
  vec2d cell_centre(int column, int xi, int yi) const {
    const ui::ColumnBox b = panel.column_box(grid, column);
    return b.pos.addv(vec2d::Create((float(xi) + 0.5f) * ui::swatch_cell, (float(yi) + 0.5f) * ui::swatch_cell));
  }
  vec2d button() const { return panel.button_pos(grid).add(ui::swatch_button / 2); }
};

}  // namespace

TEST(SwatchGrid, ColumnsSortByPositionAndKeepEqualCellsInOrder) {
  // A palette's cells all stand at 0, 0: their order is the palette's.
  SwatchColumn palette = row_column(40);
  arrange_column(palette);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(palette[std::size_t(i)].r, float(i));

  // Cells sort by y, then x.
  SwatchColumn c = {cell(0, 0, 1, 5, 20), cell(1, 1, 0, 30, 0), cell(2, 0, 0, 5, 0)};
  arrange_column(c);
  EXPECT_EQ(c[0].r, 2);
  EXPECT_EQ(c[1].r, 1);
  EXPECT_EQ(c[2].r, 0);

  // A column from a file is first moved to start at 0.
  SwatchColumn f = {cell(0, 3, 2, 40, 30), cell(1, 4, 2, 55, 30)};
  arrange_file_column(f);
  EXPECT_EQ(f[0].xi, 0);
  EXPECT_EQ(f[0].yi, 0);
  EXPECT_EQ(f[1].xi, 1);
  EXPECT_EQ(f[0].x, 0);
  EXPECT_EQ(f[1].x, 15);
  EXPECT_EQ(f[1].y, 0);
}

TEST(SwatchGrid, NeighboursComeFromTheGridIndices) {
  const SwatchColumn c = row_column(17);
  struct Case {
    int index;
    Side side;
    int want;
  } cases[] = {
      {0, Side::right, 1}, {1, Side::left, 0},    {0, Side::left, -1},   {15, Side::right, -1}, {0, Side::bottom, 16},
      {16, Side::top, 0},  {16, Side::right, -1}, {5, Side::bottom, -1}, {-1, Side::left, -1},  {17, Side::right, -1},
  };
  for (const Case& k : cases) EXPECT_EQ(neighbour(c, k.index, k.side), k.want) << k.index;
  int xi = 0, yi = 0;
  next_free_position(c, &xi, &yi);
  EXPECT_EQ(xi, 1);
  EXPECT_EQ(yi, 1);
  next_free_position(row_column(16), &xi, &yi);
  EXPECT_EQ(xi, 0) << "16 cells fill a row";
  EXPECT_EQ(yi, 1);

  // Removing a column leaves the others' neighbours whole.
  SwatchGrid g;
  g.columns = {row_column(3), row_column(20), row_column(2)};
  ASSERT_TRUE(g.remove_column(0));
  EXPECT_EQ(neighbour(g.columns[0], 16, Side::top), 0);
  EXPECT_EQ(neighbour(g.columns[1], 0, Side::right), 1);
}

TEST(SwatchGrid, NewColumnButtonAddsAColumnOfTheCurrentColour) {
  Pointer p;
  EXPECT_EQ(p.panel.hit(p.grid, p.button()).kind, K::new_column);
  EXPECT_TRUE(p.click(p.button()).owns_pointer);
  ASSERT_EQ(p.grid.columns.size(), 1u);
  const colors& c = p.grid.columns[0][0];
  EXPECT_EQ(c.g, 0.4f);
  EXPECT_EQ(c.a, 1);
  EXPECT_EQ(c.xi, 0);
  EXPECT_EQ(c.yi, 0);
  p.click(p.button());
  EXPECT_EQ(p.grid.columns.size(), 2u);
  EXPECT_EQ(p.grid.current_column, 1);
  // Not with Ctrl or Alt, nor with the right button.
  for (unsigned char mods : {2, 4}) p.click(p.button(), false, mods);
  p.click(p.button(), true);
  EXPECT_EQ(p.grid.columns.size(), 2u);
}

TEST(SwatchGrid, PickStoreAndAddCells) {
  Pointer p;
  p.grid.columns = {row_column(3), row_column(2)};
  p.grid.columns[1][1].set(0.1f, 0.7f, 0.3f, 1);

  // Left picks, without changing the cell.
  const ui::SwatchOutcome picked = p.click(p.cell_centre(1, 1, 0));
  ASSERT_TRUE(picked.picked);
  EXPECT_EQ(picked.picked_color[1], 0.7f);
  EXPECT_EQ(p.grid.current_column, 1);
  EXPECT_EQ(p.grid.columns[1][1].g, 0.7f);

  // Right stores the current colour, once per press, and selects the cell.
  EXPECT_FALSE(p.click(p.cell_centre(0, 2, 0), true).picked);
  EXPECT_EQ(p.grid.columns[0][2].b, 0.6f);
  EXPECT_EQ(p.grid.selected_column, 0);
  EXPECT_EQ(p.grid.selected_cell, 2);

  // Right on the free place after the last cell adds one there.
  const vec2d free_place = p.cell_centre(0, 3, 0);
  EXPECT_EQ(p.panel.hit(p.grid, free_place).kind, K::free_cell);
  p.click(free_place, true);
  ASSERT_EQ(p.grid.columns[0].size(), 4u);
  EXPECT_EQ(p.grid.columns[0][3].xi, 3);
  EXPECT_EQ(p.grid.columns[0][3].g, 0.4f);
  EXPECT_EQ(neighbour(p.grid.columns[0], 2, Side::right), 3);

  // With a modifier neither happens.
  p.colour[0] = 1;
  p.click(p.cell_centre(0, 0, 0), true, 1);
  EXPECT_EQ(p.grid.columns[0][0].r, 0);
  EXPECT_FALSE(p.click(p.cell_centre(0, 0, 0), false, 1).picked);
}

TEST(SwatchGrid, CtrlRightRemovesColumnsDownToOne) {
  Pointer p;
  p.grid.columns = {row_column(1), row_column(2), row_column(3)};
  p.grid.current_column = 2;
  p.click(p.cell_centre(1, 0, 0), true, 2);
  ASSERT_EQ(p.grid.columns.size(), 2u);
  EXPECT_EQ(p.grid.columns[1].size(), 3u) << "the middle one went";
  EXPECT_EQ(p.grid.current_column, 1) << "its neighbour is current";
  p.click(p.cell_centre(1, 0, 0), true, 2);
  p.click(p.cell_centre(0, 0, 0), true, 2);
  ASSERT_EQ(p.grid.columns.size(), 1u);
  EXPECT_EQ(p.grid.columns[0].size(), 1u);
}

TEST(SwatchGrid, TheGrabBarDragsTheGridAndOnlyPressesBegunOnItCount) {
  Pointer p;
  p.grid.columns = {row_column(2)};
  const vec2d start = p.panel.origin.add(5);
  ASSERT_EQ(p.panel.hit(p.grid, start).kind, K::grab);
  p.frame(start, false, false);
  EXPECT_TRUE(p.frame(start, true, false).pressed);
  p.frame(start.addv(vec2d::Create(100, 50)), true, false);
  EXPECT_EQ(p.panel.origin.x, 108);
  EXPECT_EQ(p.panel.origin.y, 166);
  // Kept inside the window.
  p.frame(vec2d::Create(-300, -300), true, false);
  EXPECT_EQ(p.panel.origin.x, 0);
  EXPECT_EQ(p.panel.origin.y, 0);
  EXPECT_TRUE(p.last.owns_pointer) << "the drag holds the pointer off the grid too";
  p.frame(vec2d::Create(300, 300), false, false);
  EXPECT_FALSE(p.last.owns_pointer);

  // A press begun on the canvas passes over the grid doing nothing.
  const vec2d c = p.cell_centre(0, 1, 0);
  p.frame(vec2d::Create(400, 400), true, false);
  const ui::SwatchOutcome over = p.frame(c, true, true);
  EXPECT_FALSE(over.owns_pointer);
  EXPECT_EQ(p.grid.columns[0][1].b, 0);
  p.frame(c, false, false);
  // A press someone else owns does nothing either.
  p.frame(c, true, false, 0, true);
  EXPECT_FALSE(p.last.picked);
}
