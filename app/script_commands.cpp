#include "app/script_commands.h"

#include "app/file_requests.h"
#include "app/screenshot.h"
#include "document/color_model.h"
#include "document/image_export.h"
#include "document/parameters.h"
#include "ui/panel_layout.h"

using platform::ScriptCommand;

bool check_script_command(const ScriptCommand& c, std::string* error) {
  if (c.type != ScriptCommand::Type::set) return true;
  Result<const document::Parameter*> p = document::find_parameter(c.text);
  if (p) return true;
  // A group box or the layer list is a control too, but drives no value.
  bool box = false;
  for (const ui::PanelControl& k : ui::panel_controls()) box = box || (!k.param && c.text == k.own_label);
  *error = box ? "\"" + c.text + "\" drives no value" : p.error().message;
  return false;
}

bool run_script_command(const ScriptCommand& c, platform::QueuedDialogs& dialogs, std::string* error) {
  using T = ScriptCommand::Type;
  switch (c.type) {
    case T::set: {
      Result<const document::Parameter*> p = document::find_parameter(c.text);
      Result<void> set = p ? document::set_parameter(**p, c.a) : std::move(p).error();
      if (!set) *error = set.error().message;
      return set.ok();
    }
    case T::color: document::set_color(float(c.a), float(c.b), float(c.c)); return true;
    case T::answer: dialogs.queue_answer(c.answer); return true;
    case T::choose: dialogs.queue_choice(c.cancelled ? std::nullopt : std::optional<std::string>(c.text)); return true;
    case T::export_png: {
      Result<void> r = document::export_lit_picture(c.text);
      if (!r) *error = r.error().message;
      return r.ok();
    }
    case T::save:
    case T::load: *error = "save and load run only with a session to show their progress in"; return false;
    case T::screenshot: *error = "a screenshot needs the window"; return false;
    case T::canvas:
    case T::seed: return true;  // taken before start-up
  }
  return true;
}

bool run_script_command(const ScriptCommand& c, Session& s, platform::QueuedDialogs& dialogs, std::string* error) {
  switch (c.type) {
    case ScriptCommand::Type::save: script_save(s, dialogs, c.text); return true;
    case ScriptCommand::Type::load: script_load(s, dialogs, c.text); return true;
    case ScriptCommand::Type::screenshot: {
      Result<void> r = write_screenshot(s.window, c.text);
      if (!r) *error = r.error().message;
      return r.ok();
    }
    default: return run_script_command(c, dialogs, error);
  }
}
