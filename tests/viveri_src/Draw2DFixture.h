// A fixture for tests that draw in the 2D scene and sample the rendering:
// 800 × 600 scene, plain filled polygons and sharp lines (no blending, smoothing or culling),
// black screen, white colour; the start-up state is put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <array>

class Draw2DFixture : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The colour (r, g, b) of a scene pixel, y downwards.
  std::array<int, 3> colourAt(int sceneX, int sceneY);
};
