#pragma once
// What a frame works with: the window, the input and the dialogs. Live they
// are the SDL window and its boxes; in a replay the headless window, the
// script and the queued answers.
#include "platform/dialogs.h"
#include "platform/input.h"
#include "platform/window.h"

struct Session {
  platform::Window& window;
  platform::Input& input;
  platform::Dialogs& dialogs;
};
