#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "gpu/histogram.h"

namespace {

using gpu::Histogram;

struct Pixel {
  float r, g, b, a;
};

Histogram of(const std::vector<Pixel>& pixels, int width, int height) {
  std::vector<float> rgba;
  for (const Pixel& p : pixels) rgba.insert(rgba.end(), {p.r, p.g, p.b, p.a});
  return gpu::compute_histogram(rgba, width, height);
}

// The total weight counted in a row, undoing the square roots.
float weight(const Histogram& h, int channel) {
  float sum = 0;
  for (float bin : h.bins[std::size_t(channel)]) sum += bin * bin;
  return sum;
}

}  // namespace

TEST(Histogram, ValuesFallIntoTheirBins) {
  struct Case {
    float value;
    int bin;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {0, 0},       {0.0024f, 0},  {0.0026f, 1}, {0.5f, 200}, {1, 400},    {2.9999f, 1199}, {3, 1199},
      {3.5f, 1199}, {1e30f, 1199}, {inf, 1199},  {-0.5f, 0},  {-1e30f, 0}, {-inf, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(gpu::histogram_bin(c.value), c.bin) << "value " << c.value;
}

TEST(Histogram, PixelsAreWeightedByAlpha) {
  // A 40 x 40 layer keeps the cap (0.025 x 1600 = 40) out of the way.
  std::vector<Pixel> px(1600, Pixel{0, 0, 0, 0});
  px[0] = {1, 0.5f, 0.25f, 1};
  px[1] = {1, 0.5f, 0.25f, 0.25f};
  px[2] = {4, -2, 0.25f, 0.5f};
  Histogram h = of(px, 40, 40);
  EXPECT_FLOAT_EQ(h.bins[gpu::hist_red][400], std::sqrt(1.25f));
  EXPECT_FLOAT_EQ(h.bins[gpu::hist_red][1199], std::sqrt(0.5f));
  EXPECT_FLOAT_EQ(h.bins[gpu::hist_green][200], std::sqrt(1.25f));
  EXPECT_FLOAT_EQ(h.bins[gpu::hist_green][0], std::sqrt(0.5f));
  EXPECT_FLOAT_EQ(h.bins[gpu::hist_blue][100], std::sqrt(1.75f));
  // Luminance 0.3 r + 0.59 g + 0.11 b of the first pixel: 0.6225, bin 249.
  EXPECT_FLOAT_EQ(h.bins[gpu::hist_luminance][249], std::sqrt(1.25f));
  for (int c = 0; c < gpu::hist_channels; ++c) EXPECT_NEAR(weight(h, c), 1.75f, 1e-5f) << "channel " << c;
  EXPECT_FLOAT_EQ(h.max, std::sqrt(1.75f));
  EXPECT_FLOAT_EQ(h.min_value[gpu::hist_green], -2);
  EXPECT_FLOAT_EQ(h.max_value[gpu::hist_red], 4);
  EXPECT_FLOAT_EQ(h.min_value[gpu::hist_blue], 0.25f);
}

TEST(Histogram, NonFiniteValuesGiveNoUndefinedBin) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  std::vector<Pixel> px(1600, Pixel{0.5f, 0.5f, 0.5f, 0});
  px[0] = {nan, 0.5f, 0.5f, 1};  // red not counted; luminance is NaN too
  px[1] = {inf, -inf, 0.5f, 1};
  px[2] = {0.5f, 0.5f, 0.5f, nan};  // alpha not a number: not counted at all
  px[3] = {0.5f, 0.5f, 0.5f, inf};  // nor an infinite weight
  Histogram h = of(px, 40, 40);
  EXPECT_NEAR(weight(h, gpu::hist_red), 1, 1e-5f);
  EXPECT_FLOAT_EQ(h.bins[gpu::hist_red][1199], 1);
  EXPECT_FLOAT_EQ(h.bins[gpu::hist_green][0], 1);
  EXPECT_NEAR(weight(h, gpu::hist_green), 2, 1e-5f);
  for (const auto& row : h.bins)
    for (float bin : row) ASSERT_TRUE(std::isfinite(bin));
  EXPECT_TRUE(std::isfinite(h.max));
  for (int c = 0; c < gpu::hist_channels; ++c) {
    EXPECT_TRUE(std::isfinite(h.min_value[std::size_t(c)]));
    EXPECT_TRUE(std::isfinite(h.max_value[std::size_t(c)]));
  }
}

TEST(Histogram, EmptyLayerCountsNothingAndDrawsFlat) {
  for (int size : {0, 2, 40}) {
    std::vector<Pixel> px(std::size_t(size) * size, Pixel{0.7f, 0.2f, 0.1f, 0});
    Histogram h = of(px, size, size);
    EXPECT_EQ(h.max, 0);
    EXPECT_EQ(weight(h, gpu::hist_luminance), 0);
    EXPECT_EQ(h.min_value[gpu::hist_luminance], 10);
    EXPECT_EQ(h.max_value[gpu::hist_luminance], 0);
    for (int column = 0; column <= gpu::histogram_columns; ++column)
      ASSERT_EQ(gpu::histogram_column_height(h, gpu::hist_red, column, 1), 0);
  }
}

TEST(Histogram, CapKeepsOneFlatColourFromSquashingTheRest) {
  // 10 x 10: cap 2.5; 99 equal pixels would give sqrt(99) without it.
  std::vector<Pixel> px(100, Pixel{0.5f, 0.5f, 0.5f, 1});
  px[0] = {2, 2, 2, 1};
  Histogram h = of(px, 10, 10);
  EXPECT_FLOAT_EQ(h.max, 2.5f);
  EXPECT_FLOAT_EQ(h.bins[gpu::hist_red][200], 2.5f);
  EXPECT_FLOAT_EQ(gpu::histogram_column_height(h, gpu::hist_red, 200, 1), 1);
  EXPECT_FLOAT_EQ(gpu::histogram_column_height(h, gpu::hist_red, 400, 0.5f), 0.4f);
}

TEST(Histogram, ColumnsStayWithinTheBinsAtEveryZoom) {
  struct Case {
    float zoom;
    int last_bin;
  };
  const Case cases[] = {{1, 400}, {0.5f, 800}, {1.0f / 3.0f, 1199}, {0.1f, 1199}, {5, 400}, {NAN, 400}};
  for (const Case& c : cases) {
    int last = -1;
    for (int column = 0; column <= gpu::histogram_columns; ++column) {
      int bin = gpu::histogram_column_bin(column, c.zoom);
      ASSERT_GE(bin, last) << "zoom " << c.zoom;
      ASSERT_LT(bin, gpu::histogram_bins) << "zoom " << c.zoom;
      last = bin;
    }
    EXPECT_EQ(last, c.last_bin) << "zoom " << c.zoom;
  }
  // A value of 3 shows in the last column at the widest zoom.
  std::vector<Pixel> px(1600, Pixel{0, 0, 0, 0});
  px[0] = {3, 3, 3, 1};
  Histogram h = of(px, 40, 40);
  EXPECT_GT(gpu::histogram_column_height(h, gpu::hist_red, gpu::histogram_columns, 1.0f / 3.0f), 0);
}
