#include "app/tool_keys.h"

#include <filesystem>
#include <utility>

#include "app/app_state.h"
#include "app/floating_panels.h"
#include "app/frame_state.h"
#include "app/guide_gestures.h"
#include "app/layer_actions.h"
#include "app/mask_mode.h"
#include "app/paste.h"
#include "app/value_dial.h"
#include "app/view.h"
#include "app/window_modes.h"
#include "document/parameters.h"
#include "gpu/display_settings.h"

using document::ParamId;

std::string help_url() {
  for (const char* readme : {OLLAN_INSTALLED_README, OLLAN_SOURCE_README})
    if (std::error_code e; std::filesystem::is_regular_file(readme, e))
      return std::string("file://") + readme + "#keys";
  return std::string("file://") + OLLAN_INSTALLED_README + "#keys";
}

void poll_tool_keys(KeyContext& k) {
  platform::Input& in = k.input;
  const unsigned char mods = app.modifier_keys;
  FrameState& f = frame_state;
  if (in.key_hit("F1")) k.dialogs.open_url(help_url());
  if (in.key_hit("F3")) set_full_desktop(k, !view.full_desktop);
  f.dial_gesture = value_dial_keys(in, mods, f.raw);
  if (in.key_hit("B") && mods == 1) {
    const float now = document::value_of(ParamId::brush_build_up);
    if (document::set_value(ParamId::brush_build_up, f.build_up_alternate)) f.build_up_alternate = now;
  }
  if (in.key_hit("F") && mods == 3) normalise_active_layer();
  if (in.key_hit("Tab")) toggle_panels_hidden();
}

void poll_late_keys(KeyContext& k) {
  platform::Input& in = k.input;
  const unsigned char mods = app.modifier_keys;
  if (in.key_hit("T") && mods == 0) {
    // The canvas texture goes off by keeping its strength aside, and back.
    float& saved = gpu::canvas_settings.strength_sav;
    const float now = document::value_of(ParamId::canvas_strength);
    if (document::set_value(ParamId::canvas_strength, saved)) saved = now;
  }
  guide_keys(in, mods);
  PanelRequests& r = panel_requests;
  if ((in.key_hit("Q") && mods == 2) || std::exchange(r.mask, 0)) toggle_mask_mode();
  if (std::exchange(r.normalise, 0)) normalise_active_layer();
  if (in.key_hit("V") && mods == 2) paste(k);
}
