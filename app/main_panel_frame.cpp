#include "app/main_panel_frame.h"

#include <cmath>
#include <optional>

#include "app/app_state.h"
#include "app/floating_panels.h"
#include "app/text.h"
#include "layers/layer.h"
#include "ui/gui_redraw.h"
#include "ui/main_panel_draw.h"

ui::MainPanel main_panel;

namespace {

struct MainPanelObjects {
  std::optional<ui::GuiImages> images;
  std::optional<ui::MainPanelView> view;
};
MainPanelObjects objects;

}  // namespace

int main_panel_pointer_pass(const ui::PointerInput& in) {
  if (!panels_fit_window()) {
    main_panel.flags = 0;
    main_panel.hovered = main_panel.pressed = -1;
    main_panel.press = ui::MainPanel::Press::none;
    return 0;
  }
  // Built on first use: the tables it reads are complete by then.
  if (main_panel.controls.empty()) main_panel = ui::build_main_panel();
  ui::main_panel_pass(main_panel, in);
  return main_panel.flags;
}

void serve_main_panel_requests(Session& s) {
  if (main_panel.requests.empty()) return;
  ui::serve_layer_requests(main_panel.requests, [&s](const std::string& title, const std::string& text) {
    s.window.set_title(title);
    const bool ok = s.dialogs.confirm(title, text) == platform::Answer::ok;
    s.window.set_title(app.title);
    return ok;
  });
}

void lay_out_main_panel_now(std::vector<gpu::PixelRect>& footprints) {
  if (!panels_fit_window() || main_panel.controls.empty()) return;
  if (!objects.images) objects.images = ui::make_gui_images();
  if (!objects.view) objects.view = ui::build_main_panel_view(main_panel, *objects.images);
  ui::lay_out_main_panel(*objects.view, main_panel, *objects.images, app.screen_w, app.screen_h);
  for (const ui::gui_master* m : objects.view->scene.open_panels) footprints.push_back(ui::panel_footprint(*m));
}

gpu::PixelRect main_panel_near(const gpu::PixelRect& changed) {
  if (!objects.view || !panels_fit_window()) return {};
  return ui::glass_near(objects.view->scene, changed);
}

void draw_main_panel_now(unsigned backdrop, float light_x, float light_y, const std::optional<gpu::PixelRect>& clip) {
  if (!panels_fit_window() || !objects.view) return;
  ui::GuiPainter painter;
  painter.light_x = light_x;
  painter.light_y = light_y;
  painter.draw_text = [](std::string_view text, float x, float y, float scale) { draw_text(text, x, y, scale); };
  ui::draw_main_panel(*objects.view, main_panel, painter, backdrop, app.screen_w, app.screen_h, clip);
}

void add_main_panel_state(std::vector<float>& out) {
  out.push_back(float(main_panel.hovered));
  out.push_back(float(main_panel.pressed));
  out.push_back(float(main_panel.hover_name.size()));
  out.push_back(float(main_panel.rows.first));
  out.push_back(float(main_panel.rows.count));
  for (const auto& l : layers.list) {
    out.push_back(l->hidden);
    out.push_back(l->style);
  }
}

void release_main_panel() {
  objects.view.reset();
  objects.images.reset();
  main_panel = ui::MainPanel{};
}
