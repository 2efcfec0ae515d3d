#include "ui/gui_redraw.h"

#include <algorithm>
#include <cmath>

#include "ui/glass_backdrop.h"
#include "ui/tooltip.h"

namespace ui {
namespace {

constexpr float glyph_w = 8;  // the font's cell width at scale 1; glyphs are twice as high

gpu::PixelRect box(vec2d at, vec2d size) {
  return gpu::PixelRect::around(at.x, at.y, at.x + size.x, at.y + size.y);
}

// Where text drawn at `at` lies: the longest line wide, two cell widths a line high.
gpu::PixelRect text_box(const std::string& text, vec2d at, float scale) {
  if (text.empty()) return {};
  std::size_t longest = 0, line = 0, lines = 1;
  for (char ch : text) {
    if (ch == '\n') {
      ++lines;
      line = 0;
    } else {
      longest = std::max(longest, ++line);
    }
  }
  const float w = glyph_w * std::abs(scale);
  return box(at, vec2d::Create(w * float(longest), 2 * w * float(lines)));
}

gpu::PixelRect overlap(const gpu::PixelRect& a, const gpu::PixelRect& b) {
  return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

GuiRedraw::Look look_of(const gui_gadget& c) {
  GuiRedraw::Look l{&c, false, footprint(c), {}, c.label()};
  const bool dial = c.gadget == GadgetKind::dial;
  l.state = {float(c.show),
             float(c.lit()),
             shown_hover(c.hover),
             dial ? c.value_float : 0,
             c.handle_pos.x,
             c.handle_pos.y,
             float(c.image),
             float(c.display_image),
             c.col[0],
             c.col[1],
             c.col[2],
             c.col[3],
             c.transparency,
             c.specularity,
             c.text_size,
             float(c.draw_mode)};
  return l;
}

GuiRedraw::Look look_of(const gui_master& m) {
  GuiRedraw::Look l{&m, false, footprint(m), {}, m.name};
  l.state = {float(m.show),  float(m.image), m.col[0],        m.col[1],        m.col[2],    m.col[3],
             m.transparency, m.specularity,  m.text_offset.x, m.text_offset.y, m.text_size, float(m.draw_mode)};
  return l;
}

}  // namespace

void fade_highlights(GuiContext& g) {
  for (const auto& m : g.master_list) {
    m->hover *= 0.95f;
    for (auto& c : m->childrenlist) {
      c->hover *= 0.95f;
      if (c->hover < 1.0f / 64) c->hover = 0;
      if (c->lit()) c->hover = 1;
    }
  }
}

float shown_hover(float hover) {
  return std::round(std::clamp(hover, 0.0f, 1.0f) * 32) / 32;
}

gpu::PixelRect footprint(const gui_gadget& c) {
  gpu::PixelRect r = box(c.pos, c.size).united(text_box(c.label(), c.pos.addv(c.text_offset), c.text_size));
  if (c.special_display && c.target) {
    // The size ring, centred on the control.
    const float d = std::max(0.0f, c.target.read());
    const vec2d centre = c.pos.addv(c.size.mul(0.5f));
    r = r.united(box(centre.sub(d / 2), vec2d::Create(d, d)));
  }
  return r;
}

gpu::PixelRect footprint(const gui_master& m) {
  // The title is drawn twice, the second time a pixel up and left.
  const gpu::PixelRect title = text_box(m.name, m.screen_pos.addv(m.text_offset), m.text_size);
  return box(m.screen_pos, m.size).united(title.empty() ? title : title.grown(1));
}

gpu::PixelRect panel_footprint(const gui_master& m) {
  gpu::PixelRect r = footprint(m);
  for (const auto& c : m.childrenlist)
    if (c->show) r = r.united(footprint(*c));
  return r;
}

gpu::PixelRect glass_near(const GuiContext& g, const gpu::PixelRect& changed) {
  gpu::PixelRect r;
  if (changed.empty()) return r;
  const gpu::PixelRect near = changed.grown(glass_reach::glass);
  for (const gui_master* m : g.open_panels)
    if (m->show && m->size.x > 0 && m->size.y > 0) r = r.united(overlap(near, panel_footprint(*m)));
  return r.empty() ? gpu::PixelRect{} : r;
}

gpu::PixelRect GuiRedraw::changes(const GuiContext& g) {
  std::vector<Look> now;
  for (const gui_master* m : g.open_panels) {
    if (!m->show || m->size.x <= 0 || m->size.y <= 0) continue;
    now.push_back(look_of(*m));
    for (const auto& c : m->childrenlist)
      if (c->show && c->gadget != GadgetKind::mover) now.push_back(look_of(*c));
  }
  if (const gui_gadget* t = tooltip_owner(g)) {
    const TooltipText text = tooltip_text(tooltip_value(*t), t->display_type);
    now.push_back({t, true, tooltip_area(*t).united(footprint(*t)), {text.shift, shown_hover(t->hover)}, text.text});
  }
  gpu::PixelRect r;
  auto find = [](const std::vector<Look>& in, const Look& look) {
    return std::find_if(in.begin(), in.end(),
                        [&](const Look& l) { return l.element == look.element && l.tooltip == look.tooltip; });
  };
  for (const Look& l : now) {
    const auto was = find(last_, l);
    if (was == last_.end())
      r = r.united(l.area);
    else if (!(*was == l))
      r = r.united(l.area).united(was->area);
  }
  for (const Look& l : last_)
    if (find(now, l) == now.end()) r = r.united(l.area);
  last_ = std::move(now);
  return r;
}

}  // namespace ui
