#include "ui/layer_requests.h"

#include "layers/layer_actions.h"
#include "layers/layer_stack.h"

namespace ui {
namespace {

bool merge_confirmed(const Confirm& confirm) {
  return confirm("Merge Layers...", "Merge down this layer? (no undo)");
}

// An undo state the active layer shows becomes live only when the stack is
// about to change: selecting, hiding and restyling keep it shown.
void make_live() {
  layers.active->make_undo_live();
}

void serve(const LayerRequest& r, const Confirm& confirm) {
  const int n = int(layers.list.size());
  // The row was laid out before this frame's earlier requests ran.
  if (r.index < 0 || r.index >= n || !layers.active) return;
  layer& row = *layers.list[size_t(r.index)];
  const int active = layer_index(layers.active);
  switch (r.action) {
    case LayerAction::none: break;
    case LayerAction::select: activate_layer(r.index); break;
    case LayerAction::toggle_hidden:
      row.hidden ^= 1;
      layers.changed = true;
      break;
    case LayerAction::cycle_style: cycle_style(row); break;
    case LayerAction::add_above:
    case LayerAction::add_below:
    case LayerAction::copy_above:
    case LayerAction::copy_below:
      make_live();
      insert_layer(r.action == LayerAction::add_above || r.action == LayerAction::copy_above,
                   r.action == LayerAction::copy_above || r.action == LayerAction::copy_below);
      break;
    case LayerAction::merge_up:
      // The layer above merges down into the pressed one.
      if (active + 1 < n && merge_confirmed(confirm)) {
        make_live();
        activate_layer(active + 1);
        merge_down(true);
      }
      break;
    case LayerAction::merge_down:
      if (active > 0 && merge_confirmed(confirm)) {
        make_live();
        merge_down(true);
      }
      break;
    case LayerAction::delete_layer:
      if (n > 1 && confirm("Delete Layer...", "Delete this layer?")) delete_active_layer();
      break;
    case LayerAction::move_down:
      if (active > 0) {
        make_live();
        move_down();
      }
      break;
    case LayerAction::move_up:
      if (active + 1 < n) {
        make_live();
        move_up();
      }
      break;
  }
}

}  // namespace

void serve_layer_requests(std::vector<LayerRequest>& requests, const Confirm& confirm) {
  for (const LayerRequest& r : requests) serve(r, confirm);
  requests.clear();
}

}  // namespace ui
