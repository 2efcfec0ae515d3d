#include "gpu/kernels.h"

#include <cmath>
#include <numbers>

namespace gpu {

float gaussian_weight(float x, float v) {
  return std::exp(-x * x / (2.0f * v)) / std::sqrt(2.0f * std::numbers::pi_v<float> * v);
}

void nine_tap_kernel(float out[9], float v) {
  for (int i = 0; i <= 4; ++i) out[i] = gaussian_weight(float(i - 4), v);
  for (int i = 5; i < 9; ++i) out[i] = out[8 - i];
  float sum = 0;
  for (int i = 0; i < 9; ++i) sum += out[i];
  for (int i = 0; i < 9; ++i) out[i] /= sum;
}

void one_sided_kernel(float* out, int count, float v) {
  for (int i = 0; i < count; ++i) out[i] = gaussian_weight(float(i), v);
}

}  // namespace gpu
