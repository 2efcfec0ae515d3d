#pragma once
// The tonal distribution of a layer as the "LAYER FX" panel shows it: four
// rows of bins (red, green, blue, luminance) over the values 0 to 3, each
// pixel weighted by its alpha, and the lowest and highest value per channel.
// Pure arithmetic on pixels already read back from the GPU.
#include <array>
#include <span>

namespace gpu {

inline constexpr int histogram_bins = 1200;
inline constexpr float histogram_bins_per_unit = 400;
inline constexpr int histogram_columns = 400;  // drawn columns right of the first line
inline constexpr float histogram_min_zoom = 1.0f / 3.0f;

enum HistogramChannel { hist_red, hist_green, hist_blue, hist_luminance, hist_channels };

struct Histogram {
  // After scaling: the square root of each bin's weight, capped.
  std::array<std::array<float, histogram_bins>, hist_channels> bins{};
  float max = 0;  // the largest scaled bin; 0 when nothing was counted
  // Per channel; an empty layer leaves min at 10 and max at 0.
  std::array<float, hist_channels> min_value{10, 10, 10, 10}, max_value{};
};

// The bin a value falls into: values of 3 and above in the last, negative
// ones in the first. Only for finite values.
int histogram_bin(float value);

// Bins the `width` x `height` RGBA pixels (`rgba` holds 4 floats each).
// Pixels whose alpha is not above 0, or not finite, are not counted; a
// channel value that is not a number is not counted either, an infinite one
// falls into the end bin it points to but moves no marker.
Histogram compute_histogram(std::span<const float> rgba, int width, int height);

// The bin drawn at `column` (0 .. histogram_columns) at horizontal zoom
// `histozoom`, which is kept within 1/3 .. 1: at 1/3 the columns reach the
// last bin, never past it.
int histogram_column_bin(int column, float histozoom);

// The height of a column as a fraction 0..1 of the drawing area; 0 while the
// histogram is empty.
float histogram_column_height(const Histogram& h, int channel, int column, float histozoom);

}  // namespace gpu
