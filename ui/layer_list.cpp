#include "ui/layer_list.h"

#include <algorithm>
#include <cmath>

namespace ui {

LayerRows layout_layer_rows(vec2d origin, float width, int layer_count, int active, float screen_h) {
  LayerRows r;
  r.origin = origin;
  r.width = width;
  if (layer_count <= 0) return r;
  const int fit = std::max(1, int(std::floor((screen_h - origin.y) / layer_row_height)));
  r.count = std::min(fit, layer_count);
  active = std::clamp(active, 0, layer_count - 1);
  r.first = std::clamp(active + r.count / 2, r.count - 1, layer_count - 1);
  return r;
}

std::optional<int> layer_row_at(const LayerRows& rows, vec2d p) {
  if (rows.count <= 0) return std::nullopt;
  const float bottom = rows.origin.y + float(rows.count) * layer_row_height;
  if (p.x < rows.origin.x || p.x >= rows.origin.x + rows.width || p.y <= rows.origin.y || p.y > bottom)
    return std::nullopt;
  const int slot = std::clamp(int((p.y - rows.origin.y) / layer_row_height), 0, rows.count - 1);
  return rows.first - slot;
}

namespace {

bool in_circle(vec2d q, float cx, float cy, float r) {
  const float dx = q.x - cx, dy = q.y - cy;
  return dx * dx + dy * dy < r * r;
}

}  // namespace

RowPart row_part(vec2d q, bool hidden) {
  if (q.x > 95) return RowPart::visibility;
  const float bx = hidden ? 68 : 64;
  if (in_circle(q, bx, 0, 7)) return RowPart::upper;
  if (in_circle(q, bx, layer_row_height, 7)) return RowPart::lower;
  if (in_circle(q, 84, 10, 10)) return RowPart::mode;
  return RowPart::body;
}

LayerAction press_action(RowPart part, bool row_is_active, unsigned char modifiers) {
  if (part == RowPart::visibility) return LayerAction::toggle_hidden;
  if (!row_is_active) return LayerAction::select;
  const bool ctrl = modifiers & 2, shift = modifiers & 1;
  switch (part) {
    case RowPart::upper: return ctrl ? LayerAction::merge_up : shift ? LayerAction::copy_above : LayerAction::add_above;
    case RowPart::lower:
      return ctrl ? LayerAction::merge_down : shift ? LayerAction::copy_below : LayerAction::add_below;
    case RowPart::mode: return LayerAction::cycle_style;
    default: return LayerAction::none;
  }
}

const char* style_symbol(unsigned char style) {
  switch (style) {
    case 1: return "+";
    case 2: return "*";
    default: return "=";
  }
}

std::string hover_name(RowPart part, unsigned char modifiers, unsigned char style) {
  const bool ctrl = modifiers & 2, shift = modifiers & 1;
  switch (part) {
    case RowPart::visibility: return "LAYERVISIBILITY";
    case RowPart::upper: return ctrl ? "LAYERMERGE UP" : shift ? "LAYERCOPY ABOVE" : "LAYERADD ABOVE";
    case RowPart::lower: return ctrl ? "LAYERMERGE DOWN" : shift ? "LAYERCOPY BELOW" : "LAYERADD BELOW";
    case RowPart::mode: return std::string("LAYERMODE [") + style_symbol(style) + "]";
    case RowPart::body: break;
  }
  return "LAYER";
}

bool drags_to_delete(vec2d trap, vec2d p) {
  return (p.x - trap.x) / (1 + 0.2f * std::fabs(p.y - trap.y)) > 100;
}

int reorder_steps(vec2d& trap, vec2d p) {
  int steps = 0;
  while (p.y - trap.y > layer_row_height) {
    trap.y += layer_row_height;
    --steps;
  }
  while (trap.y - p.y > layer_row_height) {
    trap.y -= layer_row_height;
    ++steps;
  }
  return steps;
}

}  // namespace ui
