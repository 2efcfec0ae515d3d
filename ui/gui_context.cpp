#include "ui/gui_context.h"

#include <algorithm>
#include <cstdio>

namespace ui {

gui_master& GuiContext::add(std::unique_ptr<gui_master> panel) {
  master_list.push_back(std::move(panel));
  return *master_list.back();
}

void GuiContext::open(gui_master& panel) {
  panel.show = true;
  if (!is_open(panel)) open_panels.push_back(&panel);
}

void GuiContext::close(gui_master& panel) {
  panel.show = false;
  std::erase(open_panels, &panel);
  if (active_gadget && active_gadget->panel == &panel) {
    active_gadget->triggered = 0;
    active_gadget = nullptr;
  }
  if (hovered && hovered->panel == &panel) hovered = nullptr;
  if (hovered_panel == &panel) hovered_panel = nullptr;
}

bool GuiContext::is_open(const gui_master& panel) const {
  return std::find(open_panels.begin(), open_panels.end(), &panel) != open_panels.end();
}

namespace {

// A once-per-press action: true the first time in a press.
bool once(GuiContext& g) {
  if (g.click_latch) return false;
  g.click_latch = true;
  return true;
}

// The pressed control's action for this frame of the press.
void clicked(GuiContext& g, gui_gadget& c, const PointerInput& in, vec2d delta, bool first) {
  c.hover = 1;
  const bool fine = in.modifier_keys == 2;
  auto write = [&](float v) {
    if (c.target) c.target.write(v);
  };
  switch (c.gadget) {
    case GadgetKind::button:
    case GadgetKind::selector:
      if (once(g)) write(float(int(c.trigger_value)));
      break;
    case GadgetKind::toggle:
      if (once(g) && c.target) write(float(int(c.target.read()) ^ int(c.trigger_value)));
      break;
    case GadgetKind::cycler:
      if (once(g) && c.target) {
        const int next = int(c.target.read()) + 1;
        write(float(next > int(c.value_max) ? int(c.value_min) : next));
      }
      break;
    case GadgetKind::dial: c.process_dial(delta.x, delta.y, fine); break;
    case GadgetKind::slider: c.process_slider(in.pos, delta.x, delta.y, fine); break;
    case GadgetKind::mover: {
      gui_master& m = *c.panel;
      if (first) g.grab = in.pos.subv(m.screen_pos);
      m.align = 0;
      m.pos = in.pos.subv(g.grab);
      m.clamp_to_screen(in.screen_w, in.screen_h);
      m.layout(in.screen_w, in.screen_h);
      break;
    }
    case GadgetKind::close_box:
      if (once(g)) g.close(*c.panel);
      break;
    case GadgetKind::plain:
    case GadgetKind::container:
    case GadgetKind::item: break;
  }
  if (!c.docked) {
    c.relative_pos = in.pos.subv(c.panel->screen_pos);
    std::puts("not docked");
  }
}

// The topmost open panel under the pointer and its control under the
// pointer, if any; hovering lights them and publishes their pointer shape.
// Panels are drawn in creation order, so the last one hit is on top,
// whenever each was opened.
void find_hover(GuiContext& g, const PointerInput& in) {
  g.hovered = nullptr;
  g.hovered_panel = nullptr;
  for (const auto& owned : g.master_list) {
    gui_master* m = owned.get();
    if (!g.is_open(*m) || !m->show || m->size.x <= 0 || m->size.y <= 0 || !m->mouse(in.pos, in.screen_w, in.screen_h))
      continue;
    g.hovered_panel = m;
    g.hovered = nullptr;
    for (auto& c : m->childrenlist)
      if (c->show && c->mouse(in.pos, in.screen_w, in.screen_h)) g.hovered = c.get();
  }
  if (g.hovered) {
    g.hovered->hover = 1;
    g.pointer_shape = g.hovered->cursor;
  } else if (g.hovered_panel) {
    g.hovered_panel->hover = 1;
    g.pointer_shape = g.hovered_panel->cursor;
  } else {
    g.pointer_shape = PointerShape::arrow;
  }
}

}  // namespace

void pointer_pass(GuiContext& g, const PointerInput& in) {
  for (gui_master* m : g.open_panels) {
    m->layout(in.screen_w, in.screen_h);
    for (auto& c : m->childrenlist) c->read_back();
  }
  const bool any_button = in.left || in.right;
  const bool pressed_now = any_button && g.press == GuiContext::Press::none;
  const vec2d delta = pressed_now ? vec2d{} : in.pos.subv(g.last_pos);
  g.last_pos = in.pos;
  g.flags = 0;

  // A press that began on the canvas keeps the pointer there: no hover.
  if (g.press == GuiContext::Press::canvas || g.press == GuiContext::Press::other) {
    g.hovered = nullptr;
    g.hovered_panel = nullptr;
    g.pointer_shape = PointerShape::arrow;
  } else {
    find_hover(g, in);
  }

  if (pressed_now) {
    if (in.others_own) {
      g.press = GuiContext::Press::other;
    } else if (g.hovered_panel) {
      g.press = GuiContext::Press::gui;
      g.flags |= gui_flag::control_pressed;
      if (g.hovered && in.left) {
        g.active_gadget = g.hovered;
        g.active_gadget->triggered = 1;
        g.active_gadget->on_handle =
            g.hovered->cursor == PointerShape::slide_sideways || g.hovered->cursor == PointerShape::slide_upright;
      }
    } else {
      g.press = GuiContext::Press::canvas;
    }
  }

  if (gui_gadget* c = g.active_gadget) {
    if (c->triggered == 2) {
      g.pointer_shape = PointerShape::hand;  // cancelled: waits for the buttons to come up
    } else if (in.right) {
      g.pointer_shape = PointerShape::hand;
      c->triggered = 2;
    } else if (in.left) {
      g.pointer_shape = c->cursor;
      clicked(g, *c, in, delta, pressed_now);
    }
  }

  if (!any_button) {
    if (g.active_gadget) g.active_gadget->triggered = 0;
    g.active_gadget = nullptr;
    g.press = GuiContext::Press::none;
    g.click_latch = false;
  }
  if (g.hovered_panel) g.flags |= gui_flag::over_panel;
  if (g.active_gadget && g.active_gadget->triggered == 1) g.flags |= gui_flag::control_active;
  if (g.press == GuiContext::Press::gui) g.flags |= gui_flag::painting_blocked;
}

}  // namespace ui
