#pragma once
// The colour model: the current colour, the colour dials, the wheel's
// midpoint, the tint and the saturation dial kept in step. Every path that
// sets the colour (the dials, the colour pick, X, the swatches, files and the
// script's `color`) goes through `set_color`, or through the dials' change
// hooks, so the derived values always match the colour.
#include <array>

namespace document {

using Rgb = std::array<float, 3>;

// The pure arithmetic, for the model and its tests.
// ((max - min) / max)^0.5; nothing when max is not above 0.
float saturation_dial(const Rgb& c, float fallback);
// Rebuilds `base` so that its saturation dial reads `sat`, keeping its hue and
// value: each component's distance below the maximum scales by sat^2 / s0.
// `base` unchanged when its maximum or its saturation s0 is 0.
Rgb resaturate(const Rgb& base, float sat);
// Turns the hue by `degrees`, keeping the maximum and the minimum (the value
// and the saturation).
Rgb rotate_hue(const Rgb& c, float degrees);
// How far the hue dancer turns the hue for a random `unit` in [-1, 1).
float hue_dance_degrees(float hue_dancer, float saturation, float midpoint, float unit);

// Makes (r, g, b, a) the current colour: the dials, the midpoint, the tint
// (not for black) and the saturation dial (not for black) follow, and the
// brush takes the new colour.
void set_color(float r, float g, float b, float a = 1);

// The change hooks of "COLOR:RED", "COLOR:GREEN", "COLOR:BLUE" and
// "COLOR:SATURATE": the colour follows the dials.
void color_dials_changed();
void saturate_dial_changed();

// X: the current and the alternate colour change places.
void swap_alternate_color();

// After a stroke: with "HUE DANCER" and the saturation above 0 the hue moves
// by a random amount (from the one random generator).
void dance_hue();

// True once after the colour changed.
bool take_color_changed();

}  // namespace document
