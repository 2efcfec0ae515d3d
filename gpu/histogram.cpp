#include "gpu/histogram.h"

#include <algorithm>
#include <cmath>

namespace gpu {

int histogram_bin(float value) {
  return int(std::clamp(histogram_bins_per_unit * value, 0.0f, float(histogram_bins - 1)));
}

Histogram compute_histogram(std::span<const float> rgba, int width, int height) {
  Histogram h;
  const std::size_t pixels = std::min(rgba.size() / 4, std::size_t(std::max(width, 0)) * std::max(height, 0));
  for (std::size_t i = 0; i < pixels; ++i) {
    const float* p = rgba.data() + 4 * i;
    const float a = p[3];
    if (!(a > 0) || !std::isfinite(a)) continue;
    const float values[hist_channels] = {p[0], p[1], p[2], 0.3f * p[0] + 0.59f * p[1] + 0.11f * p[2]};
    for (int c = 0; c < hist_channels; ++c) {
      const float v = values[c];
      if (std::isnan(v)) continue;
      h.bins[c][std::size_t(histogram_bin(v))] += a;
      if (!std::isfinite(v)) continue;
      h.max_value[c] = std::max(h.max_value[c], v);
      h.min_value[c] = std::min(h.min_value[c], v);
    }
  }
  // Square roots keep small counts visible; the cap keeps one flat colour
  // from squashing everything else.
  const float cap = 0.025f * float(std::max(width, 0)) * float(std::max(height, 0));
  for (auto& row : h.bins)
    for (float& bin : row) {
      bin = std::min(std::sqrt(bin), cap);
      h.max = std::max(h.max, bin);
    }
  return h;
}

int histogram_column_bin(int column, float histozoom) {
  const float zoom = std::isfinite(histozoom) ? std::clamp(histozoom, histogram_min_zoom, 1.0f) : 1.0f;
  const int bin = int(float(std::clamp(column, 0, histogram_columns)) / zoom);
  return std::min(bin, histogram_bins - 1);
}

float histogram_column_height(const Histogram& h, int channel, int column, float histozoom) {
  if (!(h.max > 0) || channel < 0 || channel >= hist_channels) return 0;
  return h.bins[std::size_t(channel)][std::size_t(histogram_column_bin(column, histozoom))] / h.max;
}

}  // namespace gpu
