#pragma once
// The frame's way into the file commands: the O and S keys and the menu
// requests, the script's save and load, and a file named on the command line.
#include <string>

#include "app/session.h"
#include "platform/dialogs.h"

// Serves the load request (O or the menu), then the save request (S, usually
// Ctrl+S, or the menu); a new canvas gets the view reset.
void serve_file_requests(Session& s);

// The script's `save FILE` and `load FILE`: the dialog answered with FILE. A
// file that cannot be saved or loaded is logged on standard error and the
// replay goes on, as a person goes on after reading the caption.
void script_save(Session& s, platform::QueuedDialogs& dialogs, const std::string& file);
void script_load(Session& s, platform::QueuedDialogs& dialogs, const std::string& file);

// Loads the file named on the command line (no dialog).
void load_file_at_start(Session& s, const std::string& file);

// True once after a file command did something (saved, loaded, failed): the
// next frame draws everything again.
bool take_file_command_ran();
