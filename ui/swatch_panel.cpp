#include "ui/swatch_panel.h"

#include <algorithm>

namespace ui {
namespace {

bool inside(vec2d p, float x, float y, float w, float h) {
  return x <= p.x && p.x < x + w && y <= p.y && p.y < y + h;
}

float columns_top(const SwatchPanel& p) {
  return p.origin.y + swatch_grab_h + 2;
}

}  // namespace

ColumnBox SwatchPanel::column_box(const SwatchGrid& g, int column) const {
  ColumnBox box;
  float x = origin.x;
  for (int i = 0; i <= column && std::size_t(i) < g.columns.size(); ++i) {
    const SwatchColumn& c = g.columns[std::size_t(i)];
    int free_x = 0, free_y = 0;
    next_free_position(c, &free_x, &free_y);
    int across = free_x + 1, down = free_y + 1;
    for (const colors& cell : c) across = std::max(across, cell.xi + 1), down = std::max(down, cell.yi + 1);
    // A file's column may hold far-off cells: the grid stays on screen.
    across = std::min(across, swatch_row_cells), down = std::min(down, 64);
    if (i == column) {
      box.pos = vec2d::Create(x, columns_top(*this));
      box.across = across, box.down = down;
    }
    x += float(across) * swatch_cell + swatch_gap;
  }
  return box;
}

vec2d SwatchPanel::button_pos(const SwatchGrid& g) const {
  if (g.columns.empty()) return vec2d::Create(origin.x, columns_top(*this));
  const ColumnBox last = column_box(g, int(g.columns.size()) - 1);
  return vec2d::Create(last.pos.x + float(last.across) * swatch_cell + swatch_gap, columns_top(*this));
}

float SwatchPanel::width(const SwatchGrid& g) const {
  return button_pos(g).x + swatch_button - origin.x;
}

SwatchHit SwatchPanel::hit(const SwatchGrid& g, vec2d p) const {
  SwatchHit h;
  if (inside(p, origin.x, origin.y, width(g), swatch_grab_h)) {
    h.kind = SwatchHit::Kind::grab;
    return h;
  }
  const vec2d b = button_pos(g);
  if (inside(p, b.x, b.y, swatch_button, swatch_button)) {
    h.kind = SwatchHit::Kind::new_column;
    return h;
  }
  for (int i = 0; std::size_t(i) < g.columns.size(); ++i) {
    const ColumnBox box = column_box(g, i);
    if (!inside(p, box.pos.x, box.pos.y, float(box.across) * swatch_cell, float(box.down) * swatch_cell)) continue;
    const SwatchColumn& c = g.columns[std::size_t(i)];
    const int xi = int((p.x - box.pos.x) / swatch_cell), yi = int((p.y - box.pos.y) / swatch_cell);
    h.column = i;
    h.cell = cell_at(c, xi, yi);
    int free_x = 0, free_y = 0;
    next_free_position(c, &free_x, &free_y);
    h.kind = h.cell >= 0                    ? SwatchHit::Kind::cell
             : xi == free_x && yi == free_y ? SwatchHit::Kind::free_cell
                                            : SwatchHit::Kind::column;
    return h;
  }
  return h;
}

SwatchOutcome swatch_pointer_pass(SwatchPanel& p, SwatchGrid& g, const SwatchInput& in) {
  SwatchOutcome out;
  const bool left_pressed = in.left && !p.was_left, right_pressed = in.right && !p.was_right;
  p.was_left = in.left;
  p.was_right = in.right;
  p.hover = p.press == SwatchPanel::Press::elsewhere ? SwatchHit{} : p.hit(g, in.pos);
  const bool over = p.hover.kind != SwatchHit::Kind::none;

  if ((left_pressed || right_pressed) && p.press == SwatchPanel::Press::none) {
    p.press = over && !in.others_own ? SwatchPanel::Press::grid : SwatchPanel::Press::elsewhere;
    out.pressed = p.press == SwatchPanel::Press::grid;
  }
  if (p.press == SwatchPanel::Press::grid) {
    const SwatchHit& h = p.hover;
    const unsigned char mods = in.modifier_keys;
    using K = SwatchHit::Kind;
    if (left_pressed && h.kind == K::grab) {
      p.dragging = true;
      p.grab = in.pos.subv(p.origin);
    }
    if (left_pressed && h.kind == K::new_column && !(mods & 6)) g.add_column(in.color[0], in.color[1], in.color[2]);
    if (right_pressed && mods == 2 && h.column >= 0) g.remove_column(h.column);
    if (mods == 0 && h.column >= 0) {
      const int col = h.column;
      if (left_pressed && h.kind == K::cell) {
        const colors& c = g.columns[std::size_t(col)][std::size_t(h.cell)];
        out.picked = true;
        out.picked_color[0] = c.r, out.picked_color[1] = c.g, out.picked_color[2] = c.b;
        g.current_column = col;
      }
      if (right_pressed && h.kind == K::cell) {
        g.store(col, h.cell, in.color[0], in.color[1], in.color[2]);
        g.current_column = col;
      }
      if (right_pressed && h.kind == K::free_cell) {
        g.append(col, in.color[0], in.color[1], in.color[2]);
        g.current_column = col;
      }
    }
    if (p.dragging && in.left) {
      // The grab bar stays reachable inside the window.
      const vec2d o = in.pos.subv(p.grab);
      p.origin = vec2d::Create(std::clamp(o.x, 0.0f, std::max(0.0f, in.screen_w - swatch_button)),
                               std::clamp(o.y, 0.0f, std::max(0.0f, in.screen_h - swatch_grab_h)));
    }
  }
  if (!in.left && !in.right) {
    p.press = SwatchPanel::Press::none;
    p.dragging = false;
  }
  out.owns_pointer = (over && p.press != SwatchPanel::Press::elsewhere) || p.press == SwatchPanel::Press::grid;
  return out;
}

}  // namespace ui
