#pragma once
// Gaussian weights for the blur passes. `v` is a variance, not a deviation.

namespace gpu {

// e^(-x^2 / 2v) / sqrt(2 pi v)
float gaussian_weight(float x, float v);

// Nine symmetric taps for offsets -4..4, normalised to sum 1. The passes take
// entry 4 as `kcenter` and entries 0..3 (offsets 4, 3, 2, 1) as `kernel`.
void nine_tap_kernel(float out[9], float v);

// out[i] = G(i, v) for i < count, not normalised.
void one_sided_kernel(float* out, int count, float v);

}  // namespace gpu
