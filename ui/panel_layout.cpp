#include "ui/panel_layout.h"

namespace ui {
namespace {

using P = document::ParamId;

const char* const canvas_group = "GUI:CANVAS";
const char* const brush_group = "GUI:BRUSH";
const char* const layer_group = "GUI:LAYER";

constexpr PanelControl control(P id, float x, float y, float w, float h, const char* group = nullptr,
                               float multiplier = 1) {
  return {ControlKind::value, id, nullptr, x, y, w, h, group, multiplier};
}

constexpr PanelControl box(ControlKind kind, const char* label, float x, float y, float w, float h,
                           const char* group = nullptr) {
  return {kind, std::nullopt, label, x, y, w, h, group};
}

const PanelControl table[] = {
    control(P::fluidity, 274, 19, 42, 42),
    control(P::fluid_sharpness, 234, 11, 20, 20),
    control(P::fluid_smudge, 228, 36, 20, 20),
    control(P::drying, 210, 21, 18, 18),
    control(P::drying_speed, 190, 21, 18, 18),
    control(P::fluid_curls, 168, 20, 21, 21),
    control(P::mouse_speed, 210, 61, 16, 16),
    control(P::glowing, 190, 41, 18, 18),
    control(P::smudge_chroma, 192, 70, 18, 18),
    control(P::desaturate, 222, 80, 18, 18),
    control(P::perception, 242, 80, 18, 18),
    control(P::hue_dancer, 195, 110, 20, 20),
    control(P::dither, 25, 30, 22, 22),
    control(P::high_quality, 44, 16, 22, 22),
    control(P::color_red, 125, 191, 28, 28),
    control(P::color_green, 96, 193, 28, 28),
    control(P::color_blue, 68, 188, 28, 28),
    control(P::color_saturate, 30, 177, 22, 22),
    control(P::color_drp_gamma, 30, 203, 22, 22),
    box(ControlKind::group, canvas_group, 130, 230, 130, 45),
    control(P::canvas_show, -3, 23, 20, 20, canvas_group),
    control(P::canvas_strength, -23, 23, 20, 20, canvas_group),
    control(P::canvas_size, -43, 23, 20, 20, canvas_group),
    control(P::canvas_density, -63, 23, 20, 20, canvas_group),
    control(P::canvas_bias, -83, 23, 20, 20, canvas_group),
    control(P::canvas_stretch, -103, 23, 20, 20, canvas_group),
    box(ControlKind::group, brush_group, 130, 275, 130, 128),
    control(P::brush_size, -3, 25, 38, 38, brush_group, 100),
    control(P::brush_min_size, -40, 22, 23, 23, brush_group),
    control(P::pen_size, -65, 36, 20, 20, brush_group),
    control(P::pen_opacity, -85, 36, 20, 20, brush_group),
    control(P::pen_tilt, -105, 36, 20, 20, brush_group),
    control(P::brush_blending, -5, 64, 20, 20, brush_group),
    control(P::brush_build_up, -5, 87, 20, 20, brush_group),
    control(P::brush_bristle_size, -43, 64, 20, 20, brush_group),
    control(P::brush_bristles, -43, 87, 20, 20, brush_group),
    control(P::brush_oscillate, -26.5f, 70.5f, 15, 15, brush_group),
    control(P::brush_osc_chaos, -26.5f, 85.5f, 15, 15, brush_group),
    control(P::brush_bias, -63, 62, 48, 48, brush_group),
    control(P::brush_next, -110, 66, 13, 13, brush_group),
    control(P::brush_prev, -110, 94, 13, 13, brush_group),
    box(ControlKind::group, layer_group, 130, 399, 130, 72),
    box(ControlKind::layer_list, "LAYER", -2, 26, 130, 32, layer_group),
    control(P::layer_bump, -8, 23, 17, 17, layer_group),
    control(P::layer_glossiness, -28, 23, 17, 17, layer_group),
    control(P::layer_diffusion, -48, 23, 17, 17, layer_group),
    control(P::layer_metallic, -68, 23, 17, 17, layer_group),
    control(P::layer_opacity, -88, 23, 17, 17, layer_group),
    control(P::layer_visibility, -108, 23, 17, 17, layer_group),
    control(P::menu_crop, 409, 7, 45, 20),
    control(P::menu_load, 365, 7, 45, 20),
    control(P::menu_save, 321, 7, 45, 20),
};

}  // namespace

std::span<const PanelControl> panel_controls() {
  return table;
}

}  // namespace ui
