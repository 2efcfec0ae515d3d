#include "app/lasso.h"

#include <array>
#include <cmath>

#include "app/app_state.h"
#include "app/mask_mode.h"

namespace {

struct Lasso {
  bool drawing = false;
  std::vector<std::array<float, 2>> points;  // canvas pixels, in the order drawn
};
Lasso lasso;

// Twice the area the closed outline encloses, the halves of a crossed one
// counted with their signs.
float twice_area(const std::vector<std::array<float, 2>>& p) {
  float a = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const auto& u = p[i];
    const auto& v = p[(i + 1) % p.size()];
    a += u[0] * v[1] - v[0] * u[1];
  }
  return a;
}

}  // namespace

bool lasso_gesture(platform::Input& in, unsigned char modifier_keys, bool left, bool pressed, vec2d canvas_pointer) {
  Lasso& l = lasso;
  if (!l.drawing) {
    const bool others_own =
        gui_blocks_painting(app.gui_flags) || (app.gui_flags & gui_flag::others_own) || modes.crop_mode;
    if (!pressed || modifier_keys != 0 || others_own || !in.key_down("L")) return false;
    l.drawing = true;
    l.points.clear();
  }
  if (left) {
    // A point a pixel or more from the last one.
    const std::array<float, 2> p{canvas_pointer.x, canvas_pointer.y};
    if (l.points.empty() || std::hypot(p[0] - l.points.back()[0], p[1] - l.points.back()[1]) >= 1)
      l.points.push_back(p);
    return true;
  }
  l.drawing = false;
  if (l.points.size() >= 3 && std::fabs(twice_area(l.points)) >= 2) mask_from_lasso(std::move(l.points));
  l.points.clear();
  return true;
}

void lasso_display(gpu::DisplayInputs& in) {
  if (lasso.drawing) {
    in.lasso = lasso.points;
    in.lasso_kind = gpu::LassoKind::open_strip;
    in.lasso_mask_mode = false;
  } else if (modes.mask_mode) {
    in.lasso = mask_outline();
    in.lasso_kind = gpu::LassoKind::closed_loop;
    in.lasso_mask_mode = true;
  }
}

void add_lasso_state(std::vector<float>& out) {
  const auto& shown = lasso.drawing ? lasso.points : mask_outline();
  out.push_back(float(lasso.drawing));
  out.push_back(float(shown.size()));
  if (!shown.empty()) out.insert(out.end(), shown.back().begin(), shown.back().end());
}

void reset_lasso() {
  lasso = Lasso{};
}
