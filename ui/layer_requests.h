#pragma once
// What the layer list asked of the stack this frame, carried out between
// the pointer pass and painting with the confirmations the frame answers.
#include <functional>
#include <string>
#include <vector>

#include "ui/layer_list.h"

namespace ui {

struct LayerRequest {
  LayerAction action = LayerAction::none;
  int index = 0;  // the stack index of the row pressed
};

// Asks the user: true for OK. The title is also the window's while it asks.
using Confirm = std::function<bool(const std::string& title, const std::string& text)>;

// Carries out the requests in order and empties the list. A merge asks
// "Merge down this layer? (no undo)" and a delete "Delete this layer?";
// cancelled, the stack is left as it was. Before an action that changes the
// stack (not a select, hide or restyle), an undo state the active layer
// shows becomes its live state.
void serve_layer_requests(std::vector<LayerRequest>& requests, const Confirm& confirm);

}  // namespace ui
