#pragma once
// The script commands that act on the application rather than on the input:
// parameters, the colour, dialog answers, export, save and load.
#include <string>

#include "app/session.h"
#include "platform/dialogs.h"
#include "platform/script_input.h"

// Checks what can be checked before the run (the labels of `set`).
bool check_script_command(const platform::ScriptCommand& c, std::string* error);

// Runs one command; `dialogs` receives the queued answers and choices. Save
// and load need the session overload below.
bool run_script_command(const platform::ScriptCommand& c, platform::QueuedDialogs& dialogs, std::string* error);
// The same, with the session that `save` and `load` show their progress in.
bool run_script_command(const platform::ScriptCommand& c, Session& s, platform::QueuedDialogs& dialogs,
                        std::string* error);
