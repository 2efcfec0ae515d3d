#include "ui/color_mixer_draw.h"

#include "gpu/buffer.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "ui/gl_state.h"

namespace ui {
namespace {

void outline(float x, float y, float w, float h) {
  glBegin(GL_LINE_LOOP);
  glVertex2f(x + 0.5f, y + 0.5f);
  glVertex2f(x + w - 0.5f, y + 0.5f);
  glVertex2f(x + w - 0.5f, y + h - 0.5f);
  glVertex2f(x + 0.5f, y + h - 0.5f);
  glEnd();
}

}  // namespace

void draw_color_wheel(const WheelLook& w, float sw, float sh) {
  if (sw <= 0 || sh <= 0) return;
  const SavedGlState saved;
  screen_projection(sw, sh);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  // The program has these three uniforms and no others; alpha 0 would hide it.
  gpu::program(gpu::Prog::color_wheel).use().set("midpoint", w.midpoint).set("gamma", w.gamma).set("alpha", 1.0f);
  glColor4f(w.color[0], w.color[1], w.color[2], w.color[3]);
  gpu::textured_rect(w.pos.x, w.pos.y, w.size, w.size);
}

void draw_swatches(const SwatchPanel& p, const SwatchGrid& g, float sw, float sh) {
  if (sw <= 0 || sh <= 0) return;
  const SavedGlState saved;
  screen_projection(sw, sh);
  glUseProgram(0);
  gpu::bind_texture(0, 0);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLineWidth(1);
  const bool grab_lit = p.hover.kind == SwatchHit::Kind::grab || p.dragging;
  glColor4f(0.15f, 0.15f, 0.15f, grab_lit ? 0.8f : 0.5f);
  plain_rect(p.origin.x, p.origin.y, p.width(g), swatch_grab_h);

  for (int i = 0; std::size_t(i) < g.columns.size(); ++i) {
    const ColumnBox box = p.column_box(g, i);
    const float bw = float(box.across) * swatch_cell, bh = float(box.down) * swatch_cell;
    glColor4f(0, 0, 0, 0.35f);
    plain_rect(box.pos.x, box.pos.y, bw, bh);
    for (const colors& c : g.columns[std::size_t(i)]) {
      if (c.xi < 0 || c.yi < 0 || c.xi >= box.across || c.yi >= box.down) continue;
      glColor4f(c.r, c.g, c.b, 1);
      plain_rect(box.pos.x + float(c.xi) * swatch_cell + 1, box.pos.y + float(c.yi) * swatch_cell + 1, swatch_cell - 2,
                 swatch_cell - 2);
    }
    if (i == g.current_column) {
      glColor4f(1, 1, 1, 0.6f);
      outline(box.pos.x - 1, box.pos.y - 1, bw + 2, bh + 2);
    }
    int fx = 0, fy = 0;
    next_free_position(g.columns[std::size_t(i)], &fx, &fy);
    glColor4f(1, 1, 1, 0.2f);
    outline(box.pos.x + float(fx) * swatch_cell + 2, box.pos.y + float(fy) * swatch_cell + 2, swatch_cell - 4,
            swatch_cell - 4);
  }
  auto mark_cell = [&](int column, int cell, float alpha) {
    if (column < 0 || std::size_t(column) >= g.columns.size() || cell < 0 ||
        std::size_t(cell) >= g.columns[std::size_t(column)].size())
      return;
    const colors& c = g.columns[std::size_t(column)][std::size_t(cell)];
    const ColumnBox box = p.column_box(g, column);
    glColor4f(1, 1, 1, alpha);
    outline(box.pos.x + float(c.xi) * swatch_cell, box.pos.y + float(c.yi) * swatch_cell, swatch_cell, swatch_cell);
  };
  mark_cell(g.selected_column, g.selected_cell, 0.9f);
  if (p.hover.kind == SwatchHit::Kind::cell) mark_cell(p.hover.column, p.hover.cell, 0.6f);

  // The new-column button: a plus on a dark square.
  const vec2d b = p.button_pos(g);
  const bool lit = p.hover.kind == SwatchHit::Kind::new_column;
  glColor4f(0.15f, 0.15f, 0.15f, lit ? 0.8f : 0.5f);
  plain_rect(b.x, b.y, swatch_button, swatch_button);
  glColor4f(1, 1, 1, lit ? 0.9f : 0.5f);
  glBegin(GL_LINES);
  const float m = swatch_button / 2;
  glVertex2f(b.x + 6, b.y + m);
  glVertex2f(b.x + swatch_button - 6, b.y + m);
  glVertex2f(b.x + m, b.y + 6);
  glVertex2f(b.x + m, b.y + swatch_button - 6);
  glEnd();
}

}  // namespace ui
