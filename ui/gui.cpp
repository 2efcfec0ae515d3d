#include "ui/gui.h"

#include <algorithm>
#include <cmath>

namespace ui {

GadgetTarget param_target(document::ParamId id) {
  return {[id] { return document::value_of(id); },
          [id](float v) {
            // A control cannot pass its setting's range: the model refuses
            // such a value, so the control holds the nearest one it takes.
            const document::Parameter& p = document::parameter(id);
            v = p.unbounded() ? std::max(v, p.least) : std::clamp(v, std::min(p.low, p.high), std::max(p.low, p.high));
            (void)document::set_value(id, v);
          }};
}

GadgetTarget byte_target(unsigned char* byte) {
  return {[byte] { return float(*byte); }, [byte](float v) { *byte = static_cast<unsigned char>(int(v) & 0xff); }};
}

vec2d gui::aligned_pos(float screen_w, float screen_h) const {
  vec2d p = vec2d::Create(pos.x, pos.y);
  if (align & align::x_fraction) p.x = pos.x * screen_w;
  if (align & align::y_fraction) p.y = pos.y * screen_h;
  if (align & align::right) p.x += screen_w - size.x;
  if (align & align::bottom) p.y += screen_h - size.y;
  return p;
}

bool gui::mouse(const vec2d& pt, float screen_w, float screen_h) {
  const vec2d p = aligned_pos(screen_w, screen_h);
  if (shape == 1) {
    const float dx = pt.x - (p.x + radius), dy = pt.y - (p.y + radius);
    return dx * dx + dy * dy < radius * radius;
  }
  const bool hit = p.x < pt.x && pt.x < p.x + size.x && p.y < pt.y && pt.y < p.y + size.y;
  if (hit && gadget == GadgetKind::slider) {
    // The handle is a square of the slider's thickness.
    if (slider_type == 0) {
      const float h0 = p.x + handle_pos.x;
      cursor = h0 < pt.x && pt.x < h0 + size.y ? PointerShape::slide_sideways : PointerShape::hand;
    } else {
      const float h0 = p.y + handle_pos.y;
      cursor = h0 < pt.y && pt.y < h0 + size.x ? PointerShape::slide_upright : PointerShape::hand;
    }
  }
  return hit;
}

void gui::set_color(float r, float g, float b, float a) {
  col[0] = r;
  col[1] = g;
  col[2] = b;
  col[3] = a;
}

void gui::set_text_param(float s, float x, float y) {
  text_size = s;
  text_offset = vec2d::Create(x, y);
}

std::unique_ptr<gui_gadget> gui_gadget::Create(std::string name, GadgetKind kind, vec2d pos, vec2d size,
                                               PointerShape cursor) {
  auto g = std::make_unique<gui_gadget>();
  g->name = std::move(name);
  g->gadget = kind;
  g->pos = g->default_pos = g->relative_pos = vec2d::Create(pos.x, pos.y);
  g->size = g->default_size = vec2d::Create(size.x, size.y);
  g->cursor = cursor;
  g->radius = size.x / 2;
  return g;
}

void gui_gadget::set_list_names(const std::string& csv) {
  list_names.clear();
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = csv.find(',', start);
    list_names.push_back(csv.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
}

namespace {

// Track length less the handle; never negative.
float slider_travel(const gui& s) {
  return std::max(0.0f, s.slider_type == 0 ? s.size.x - s.size.y : s.size.y - s.size.x);
}

}  // namespace

void gui_gadget::place_handle() {
  const float travel = slider_travel(*this);
  if (slider_type == 0)
    handle_pos = vec2d::Create(value_float * travel, 0);
  else
    handle_pos = vec2d::Create(0, (1 - value_float) * travel);
}

void gui_gadget::write_treated() {
  switch (value_treatment) {
    case 0:
      value_float = std::clamp(value_float, 0.0f, 1.0f);
      if (target) target.write(value_float);
      break;
    case 1:
      value_float = std::clamp(value_float, 0.0f, 1.0f);
      if (target) target.write(value_min + value_float * (value_max - value_min));
      break;
    case 2:
      value_float = std::max(value_float, value_min);
      if (target) target.write(value_float * value_mult);
      break;
    case 3:
      if (target) target.write(value_float * value_mult);
      break;
    default: break;  // the target is not this control's to write
  }
}

void gui_gadget::process_dial(float dx, float dy, bool fine) {
  value_float += (dx - dy) / (fine ? 2100.0f : 100.0f);
  write_treated();
}

void gui_gadget::process_slider(const vec2d& p, float dx, float dy, bool fine) {
  const float travel = slider_travel(*this);
  // A slider with no room to travel has no position to take.
  if (travel <= 0 || value_treatment > 1) return;
  if (!on_handle) {
    value_float = slider_type == 0 ? (p.x - (pos.x + 0.5f * size.y)) / travel
                                   : (travel - (p.y - (pos.y + 0.5f * size.x))) / travel;
  } else {
    const float scale = travel * (fine ? 9.0f : 1.0f);
    value_float += slider_type == 0 ? dx / scale : -dy / scale;
  }
  write_treated();
  place_handle();
}

void gui_gadget::read_back() {
  if (!target || (gadget != GadgetKind::dial && gadget != GadgetKind::slider)) return;
  const float t = target.read();
  switch (value_treatment) {
    case 0: value_float = t; break;
    case 1:
      // A range of one value has one position.
      value_float = value_max != value_min ? (t - value_min) / (value_max - value_min) : 0;
      break;
    case 2:
    case 3:
      if (gadget == GadgetKind::dial && value_mult != 0) value_float = t / value_mult;
      break;
    default: break;
  }
  if (gadget == GadgetKind::slider) {
    value_float = std::clamp(value_float, 0.0f, 1.0f);
    place_handle();
  }
}

bool gui_gadget::lit() const {
  switch (gadget) {
    case GadgetKind::selector: return reference && reference() == trigger_value;
    case GadgetKind::toggle: return reference && reference() != 0;
    case GadgetKind::cycler: return connected && connected->hover == 1;
    default: return false;
  }
}

std::string gui_gadget::label() const {
  if (gadget == GadgetKind::cycler && target) {
    const int i = int(target.read());
    if (i >= 0 && std::size_t(i) < list_names.size()) return list_names[std::size_t(i)];
  }
  return name;
}

std::unique_ptr<gui_master> gui_master::Create(std::string name, vec2d pos, vec2d size, PointerShape cursor) {
  auto m = std::make_unique<gui_master>();
  m->name = std::move(name);
  m->pos = m->default_pos = vec2d::Create(pos.x, pos.y);
  m->size = m->default_size = vec2d::Create(size.x, size.y);
  m->cursor = cursor;
  m->blur_strength = 0;
  return m;
}

gui_gadget& gui_master::add(std::unique_ptr<gui_gadget> child) {
  child->panel = this;
  child->pos = pos.addv(child->relative_pos);
  childrenlist.push_back(std::move(child));
  return *childrenlist.back();
}

void gui_master::layout(float screen_w, float screen_h) {
  if (!docked) clamp_to_screen(screen_w, screen_h);
  screen_pos = aligned_pos(screen_w, screen_h);
  for (auto& c : childrenlist) c->pos = screen_pos.addv(c->relative_pos);
}

void gui_master::clamp_to_screen(float screen_w, float screen_h) {
  const vec2d p = aligned_pos(screen_w, screen_h);
  const float x = std::clamp(p.x, 0.0f, std::max(0.0f, screen_w - size.x));
  const float y = std::clamp(p.y, 0.0f, std::max(0.0f, screen_h - size.y));
  // Alignment by a fraction of the screen moves pos in fractions.
  const float fx = align & align::x_fraction && screen_w > 0 ? screen_w : 1;
  const float fy = align & align::y_fraction && screen_h > 0 ? screen_h : 1;
  pos = vec2d::Create(pos.x + (x - p.x) / fx, pos.y + (y - p.y) / fy);
}

StripLayout layout_strip(const std::vector<vec2d>& image_sizes, float height, float max_width) {
  StripLayout s;
  for (const vec2d& sz : image_sizes) {
    // An empty image takes a square.
    const float w = sz.x > 0 && sz.y > 0 ? height * std::min(1.0f, sz.x / sz.y) : height;
    if (s.width + w + 1 > max_width) break;
    s.x.push_back(s.width);
    s.w.push_back(w);
    s.width += w + 1;
  }
  return s;
}

}  // namespace ui
