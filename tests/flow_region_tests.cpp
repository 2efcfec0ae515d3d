// Below full fluidity the simulation runs only where the flow can be alive:
// the rectangle it works in, and the conversions between the canvas and the
// pressure's texels.
#include <gtest/gtest.h>

#include "gpu/flow_region.h"

namespace {

TEST(FlowRegion, ConversionsBetweenCanvasAndPressureTexelsRoundOutwards) {
  const struct {
    int w, h, sw, sh;
    gpu::PixelRect r;
  } cases[] = {
      {160, 90, 80, 45, {10, 20, 11, 21}},
      {161, 91, 80, 45, {0, 0, 161, 91}},
      {1280, 720, 640, 360, {3, 5, 700, 6}},
      {1281, 721, 320, 180, {-4, -4, 2, 2}},
  };
  for (const auto& c : cases) {
    const gpu::PixelRect s = gpu::canvas_to_solver(c.r, c.w, c.h, c.sw, c.sh);
    EXPECT_TRUE(gpu::solver_to_canvas(s, c.w, c.h, c.sw, c.sh).contains(c.r));
    const gpu::PixelRect back = gpu::solver_to_canvas(c.r, c.w, c.h, c.sw, c.sh);
    EXPECT_TRUE(gpu::canvas_to_solver(back, c.w, c.h, c.sw, c.sh).contains(c.r));
  }
  EXPECT_TRUE(gpu::canvas_to_solver({}, 160, 90, 80, 45).empty());
}

TEST(FlowRegion, TheWorkCoversTheFieldAndThePressureAndGrowsWithTheRelaxation) {
  const gpu::PixelRect field{40, 40, 50, 50}, pressure{100, 10, 110, 20};
  gpu::FlowSpread s{2, 4, true, true};
  const gpu::PixelRect work = gpu::flow_work_rect(field, pressure, s);
  EXPECT_TRUE(work.contains(field.grown(8)));
  EXPECT_TRUE(work.contains(pressure.grown(8)));
  s.jacobi_steps = 14;
  EXPECT_TRUE(gpu::flow_work_rect(field, pressure, s).contains(work.grown(20)));
  // Without the divergence removal the pressure is never read.
  s.curls = false;
  EXPECT_TRUE(field.grown(9).contains(gpu::flow_work_rect(field, pressure, s)));
  EXPECT_TRUE(gpu::flow_work_rect({}, {}, s).empty());
}

}  // namespace
