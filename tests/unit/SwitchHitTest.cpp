#include "SwitchGeometry.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

int countHits(int x, int y, int width, int height) {
  int hits = 0;
  for (int py = y - 5; py < y + height + 5; ++py) {
    for (int px = x - 5; px < x + width + 5; ++px) {
      hits += switchHit(x, y, width, height, px, py) ? 1 : 0;
    }
  }
  return hits;
}

TEST(SwitchHitArea, RightAndBottomEdgesAnswerToo) {
  EXPECT_EQ(countHits(354, 118, 44, 21), 45 * 22);
  EXPECT_EQ(countHits(124, 223, 26, 14), 27 * 15);
}

TEST(SwitchHitArea, CornersInsideNeighboursOutside) {
  EXPECT_TRUE(switchHit(354, 118, 44, 21, 354, 118));
  EXPECT_TRUE(switchHit(354, 118, 44, 21, 398, 139));
  EXPECT_FALSE(switchHit(354, 118, 44, 21, 399, 139));
  EXPECT_FALSE(switchHit(354, 118, 44, 21, 398, 140));
  EXPECT_FALSE(switchHit(354, 118, 44, 21, 353, 118));
  EXPECT_FALSE(switchHit(354, 118, 44, 21, 354, 117));
}

TEST(SwitchHitArea, ExtremePointsDoNotWrapAround) {
  EXPECT_FALSE(switchHit(354, 118, 44, 21, INT32_MIN, INT32_MIN));
  EXPECT_FALSE(switchHit(-10, -10, 44, 21, INT32_MAX, INT32_MAX));
}

} // namespace
