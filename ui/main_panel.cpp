#include "ui/main_panel.h"

#include <algorithm>

#include "layers/layer.h"
#include "layers/layer_stack.h"
#include "ui/panel_look.h"
#include "ui/readout.h"

namespace ui {
namespace {

using document::ParamKind;

InterfaceKind kind_of(const PanelControl& k) {
  if (k.kind == ControlKind::group) return InterfaceKind::group;
  if (k.kind == ControlKind::layer_list) return InterfaceKind::layer_list;
  switch (document::parameter(*k.param).kind) {
    case ParamKind::step_button: return InterfaceKind::step_button;
    case ParamKind::toggle: return InterfaceKind::toggle;
    case ParamKind::dial: return InterfaceKind::dial;
    case ParamKind::menu_button: return InterfaceKind::menu_button;
  }
  return InterfaceKind::group;
}

int find_group(const MainPanel& m, const char* label) {
  for (std::size_t i = 0; i < m.controls.size(); ++i)
    if (m.controls[i].gadget == InterfaceKind::group && m.controls[i].name == label) return int(i);
  return -1;
}

// The topmost active control under p (later controls lie on top); a group's
// background counts apart.
int control_at(MainPanel& m, vec2d p, float screen_w) {
  int hit = -1;
  m.over_group = false;
  for (std::size_t i = 0; i < m.controls.size(); ++i) {
    const interface& c = m.controls[i];
    if (!c.show) continue;
    if (c.gadget == InterfaceKind::group) {
      m.over_group = m.over_group || c.covers(p, screen_w);
      continue;
    }
    if (!c.active) continue;
    const bool over =
        c.gadget == InterfaceKind::layer_list ? layer_row_at(m.rows, p).has_value() : c.mouse(p, screen_w);
    if (over) hit = int(i);
  }
  return hit;
}

float current(const interface& c) {
  return document::value_of(*c.param);
}

void write(const interface& c, float v) {
  (void)document::set_value(*c.param, v);
}

std::optional<RowPart> part_under(const MainPanel& m, vec2d p, int* row) {
  const std::optional<int> r = layer_row_at(m.rows, p);
  if (!r) return std::nullopt;
  *row = *r;
  const vec2d q = p.subv(m.rows.row_origin(*r));
  return row_part(q, layers.list[std::size_t(*r)]->hidden != 0);
}

void press_layer_list(MainPanel& m, const PointerInput& in) {
  m.list_trap = in.pos;
  int row = 0;
  const std::optional<RowPart> part = part_under(m, in.pos, &row);
  if (!part) return;
  const bool active = layers.list[std::size_t(row)].get() == layers.active;
  const LayerAction a = press_action(*part, active, in.modifier_keys);
  if (a != LayerAction::none) m.requests.push_back({a, row});
}

void drag_layer_list(MainPanel& m, const PointerInput& in) {
  if (m.press_spent || !layers.active) return;
  const int active = layer_index(layers.active);
  if (drags_to_delete(m.list_trap, in.pos) && layers.list.size() > 1) {
    m.requests.push_back({LayerAction::delete_layer, active});
    m.press_spent = true;
    return;
  }
  const int steps = reorder_steps(m.list_trap, in.pos);
  for (int s = 0; s < -steps; ++s) m.requests.push_back({LayerAction::move_down, active});
  for (int s = 0; s < steps; ++s) m.requests.push_back({LayerAction::move_up, active});
}

// The press's first frame on control i.
void press(MainPanel& m, int i, const PointerInput& in) {
  interface& c = m.controls[std::size_t(i)];
  const bool ctrl = in.modifier_keys == 2;
  switch (c.gadget) {
    case InterfaceKind::dial: c.init_adjustment(in.pos, current(c), ctrl); break;
    case InterfaceKind::toggle:
    case InterfaceKind::menu_button: write(c, current(c) != 0 ? 0 : 1); break;
    case InterfaceKind::step_button: {
      const document::Parameter& p = document::parameter(*c.param);
      write(c, std::clamp(current(c) + float(p.step), p.low, p.high));
      break;
    }
    case InterfaceKind::layer_list: press_layer_list(m, in); break;
    case InterfaceKind::group: break;
  }
}

// Every later frame of the press.
void operate(MainPanel& m, int i, const PointerInput& in) {
  interface& c = m.controls[std::size_t(i)];
  if (c.gadget == InterfaceKind::dial) {
    const float now = current(c);
    const float v = c.adjust_value(in.pos, now, in.modifier_keys == 2);
    if (v != now) write(c, v);
  } else if (c.gadget == InterfaceKind::layer_list) {
    drag_layer_list(m, in);
  }
}

}  // namespace

MainPanel build_main_panel() {
  MainPanel m;
  for (const PanelControl& k : panel_controls()) {
    const InterfaceKind kind = kind_of(k);
    const int parent = k.group ? find_group(m, k.group) : -1;
    float low = 0, high = 0;
    if (k.param && kind == InterfaceKind::dial) {
      low = document::parameter(*k.param).low;
      high = document::parameter(*k.param).high;
    }
    interface c = interface::Create(k.label(), kind, vec2d::Create(k.x, k.y), vec2d::Create(k.w, k.h), low, high,
                                    control_tint(k, kind).rgba, k.param, parent);
    c.mult = k.multiplier;
    if (parent >= 0) c.pos = m.controls[std::size_t(parent)].pos.addv(c.rel_pos);
    // The group boxes are backgrounds: they take part in no input of their own.
    if (kind == InterfaceKind::group) c.active = false;
    if (kind == InterfaceKind::layer_list) m.layer_list = int(m.controls.size());
    m.controls.push_back(std::move(c));
  }
  return m;
}

LayerRows main_panel_rows(const MainPanel& m, float screen_w, float screen_h) {
  if (m.layer_list < 0) return {};
  const interface& c = m.controls[std::size_t(m.layer_list)];
  return layout_layer_rows(vec2d::Create(c.left(screen_w), c.pos.y), c.size.x, int(layers.list.size()),
                           layer_index(layers.active), screen_h);
}

void main_panel_pass(MainPanel& m, const PointerInput& in) {
  m.rows = main_panel_rows(m, in.screen_w, in.screen_h);
  const bool any_button = in.left || in.right;
  const bool pressed_now = any_button && m.press == MainPanel::Press::none;
  m.flags = 0;
  m.hover_name.clear();
  for (interface& c : m.controls) c.hover = false;

  // A press that began elsewhere keeps the pointer there; something else
  // owning the pointer (a panel over this one, navigation) hides it from the
  // panel.
  m.hovered = -1;
  m.over_group = false;
  if (m.press == MainPanel::Press::panel || (m.press == MainPanel::Press::none && !in.others_own))
    m.hovered = control_at(m, in.pos, in.screen_w);

  if (pressed_now) {
    if (!in.others_own && (m.hovered >= 0 || m.over_group)) {
      m.press = MainPanel::Press::panel;
      m.flags |= gui_flag::control_pressed;
      if (in.left && m.hovered >= 0) {
        m.pressed = m.hovered;
        press(m, m.pressed, in);
      }
    } else {
      m.press = MainPanel::Press::elsewhere;
      m.hovered = -1;
      m.over_group = false;
    }
  } else if (m.pressed >= 0 && in.left) {
    operate(m, m.pressed, in);
  }

  if (m.hovered >= 0) {
    m.controls[std::size_t(m.hovered)].hover = true;
    int row = 0;
    if (m.hovered == m.layer_list)
      if (const std::optional<RowPart> part = part_under(m, in.pos, &row))
        m.hover_name = hover_name(*part, in.modifier_keys, layers.list[std::size_t(row)]->style);
  }
  if (!any_button) {
    m.press = MainPanel::Press::none;
    m.pressed = -1;
    m.press_spent = false;
  }
  if (m.hovered >= 0 || m.over_group) m.flags |= gui_flag::over_panel;
  if (m.pressed >= 0) m.flags |= gui_flag::control_active;
  if (m.press == MainPanel::Press::panel) m.flags |= gui_flag::painting_blocked;
}

std::string control_readout(const MainPanel& m, int i) {
  if (i < 0 || std::size_t(i) >= m.controls.size()) return {};
  const interface& c = m.controls[std::size_t(i)];
  if (i == m.layer_list) return m.hover_name;
  if (!c.param) return {};
  return readout(document::parameter(*c.param));
}

}  // namespace ui
