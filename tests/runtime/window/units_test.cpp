// Twips and points turned into pixels at a dpi.
#include "runtime/window/units.h"

#include <gtest/gtest.h>

namespace velmora::window {
namespace {

TEST(Twips, BecomePixelsRoundedHalfAwayFromZero) {
  const struct {
    int twips, dpi, pixels;
  } cases[] = {
      {3060, 96, 204}, {5400, 96, 360},  {-360, 96, -24},  {255, 96, 17}, {735, 120, 61},
      {255, 120, 21},  {270, 144, 27},   {-360, 120, -30}, {8, 96, 1},    {7, 96, 0},
      {-8, 96, -1},    {3615, 168, 422}, {0, 192, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
  }
}

TEST(FontHeight, IsMinusThePointsInPixelsRounded) {
  const struct {
    int centipoints, dpi, height;
  } cases[] = {
      {1200, 96, -16},  {1125, 96, -15},  {975, 96, -13},  {975, 120, -16},
      {1125, 120, -19}, {1200, 144, -24}, {975, 144, -20}, {1125, 192, -30},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fontHeight(c.centipoints, c.dpi), c.height) << c.centipoints << " at " << c.dpi;
  }
}

} // namespace
} // namespace velmora::window
