#include "app/frame_changes.h"

#include "app/app_state.h"
#include "app/brush_image_frame.h"
#include "app/color_mixer.h"
#include "app/crop_mode.h"
#include "app/file_requests.h"
#include "app/frame_state.h"
#include "app/guide_gestures.h"
#include "app/lasso.h"
#include "app/layer_fx.h"
#include "app/main_panel_frame.h"
#include "app/value_dial.h"
#include "app/view.h"
#include "brush/brush_settings.h"
#include "document/color_model.h"
#include "document/parameters.h"
#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "gpu/flow_activity.h"
#include "gpu/geometry.h"
#include "gpu/simulation_settings.h"
#include "layers/layer.h"

ChangeTracker change_tracker;

namespace {

struct Values {
  std::vector<float>& v;
  Values& add(float x) {
    v.push_back(x);
    return *this;
  }
  Values& add(const float* x, int n) {
    v.insert(v.end(), x, x + n);
    return *this;
  }
};

// Everything the simulation and the display read besides the paint itself:
// the settings of both, the canvas size, the modes, and every layer's buffers
// and material. A change in any of them redraws everything.
void picture_inputs(std::vector<float>& out) {
  out.clear();
  Values v{out};
  const gpu::DisplaySettings& d = gpu::display_settings;
  v.add(d.light_pos, 3).add(d.light_col, 3).add(d.ambient_col, 3).add(d.background, 3).add(d.paper, 4);
  v.add(d.light_setting).add(d.new_layer_bump).add(d.glowing).add(d.desaturate).add(d.perception).add(d.drp_gamma);
  v.add(d.dither).add(d.high_quality).add(d.mirror_mode);
  const gpu::canvas& c = gpu::canvas_settings;
  v.add(c.mode).add(c.inv).add(c.strength).add(c.strength_sav).add(c.size).add(c.bias).add(c.density);
  v.add(c.stretch).add(c.show);
  const gpu::SimulationSettings& s = gpu::simulation_settings;
  v.add(s.fluidity).add(s.fluid_sharpness).add(s.fluid_smudge).add(s.drying).add(s.drying_speed);
  v.add(s.fluid_curls).add(s.smudge_chroma).add(s.substep_mode);
  v.add(float(gpu::geometry.width)).add(float(gpu::geometry.height));
  v.add(float(modes.capture_mode)).add(modes.crop_mode).add(modes.warp_mode).add(float(modes.mask_mode));
  v.add(float(layers.list.size())).add(float(layers.active_number));
  for (const auto& lp : layers.list) {
    const layer& l = *lp;
    v.add(float(l.fbo_col())).add(float(l.fbo_mat())).add(float(l.undo_col())).add(float(l.undo_mat()));
    v.add(l.UNDO_GET).add(l.hidden).add(l.style).add(l.bump).add(l.glossiness).add(l.diffusion);
    v.add(l.metallic).add(l.opacity).add(l.visibility).add(l.color, 3).add(l.posx).add(l.posy);
    v.add(&l == layers.active);
  }
  add_guide_state(out);
  add_lasso_state(out);
  add_placement_state(out);
}

// Where and how the picture lies in the window.
void view_inputs(std::vector<float>& out, bool after_rebuild) {
  out.clear();
  Values v{out};
  v.add(app.screen_w).add(app.screen_h).add(view.zoom).add(view.top_left.x).add(view.top_left.y).add(view.angle);
  v.add(after_rebuild);
}

// What the status text shows.
void gui_inputs(std::vector<float>& out) {
  out.clear();
  Values v{out};
  for (const document::Parameter& p : document::parameters()) v.add(document::parameter_value(p).value_or(-1.0f));
  v.add(frame_state.tool_mode).add(brush_settings.brush_type).add(brush_settings.size);
  v.add(frame_state.panels_hidden);
  add_crop_state(out);
  add_dial_state(out);
  add_main_panel_state(out);
  add_color_mixer_state(out);
  add_layer_fx_state(out);
}

// Replaces `last` with `now`; true when they differ.
bool changed(std::vector<float>& last, std::vector<float>& now) {
  const bool differ = last != now;
  last.swap(now);
  return differ;
}

}  // namespace

FrameChanges ChangeTracker::take(bool painted, bool stroke_ended, bool window_resized, bool colour_pick) {
  FrameChanges c;
  c.forced = always_full || first_ || take_file_command_ran();
  first_ = false;
  c.window = window_resized;
  c.stroke = painted || stroke_ended;
  const gpu::FlowActivity& flow = gpu::flow_activity;
  c.flow = !flow.settled;
  c.paint_flows = !flow.field_zero;

  picture_inputs(scratch_);
  // Flags some changes set without touching the values above: content
  // cleared or loaded, the canvas texture to be made again.
  c.settings = changed(settings_, scratch_) || layers.changed || gpu::canvas_buffers.canvas_texture_dirty;
  view_inputs(scratch_, layers.changed);
  c.view = changed(view_, scratch_);
  gui_inputs(scratch_);
  c.gui = changed(gui_, scratch_) || colour_pick || document::take_color_changed();
  return c;
}
