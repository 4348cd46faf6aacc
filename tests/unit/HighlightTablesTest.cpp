#include "HighlightTables.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return r | g << 8 | b << 16;
}

std::uint32_t red(std::uint32_t c) { return c & 0xFFu; }
std::uint32_t green(std::uint32_t c) { return (c >> 8) & 0xFFu; }
std::uint32_t blue(std::uint32_t c) { return (c >> 16) & 0xFFu; }

} // namespace

TEST(HighlightTables, UnreadMaskAndZeroMaskKeepTheColour) {
  HighlightTables tables;
  EXPECT_EQ(tables.blend(rgb(12, 200, 255), 3, 4), rgb(12, 200, 255));
  tables.setMask(3, 4, 0);
  EXPECT_EQ(tables.blend(rgb(12, 200, 255), 3, 4), rgb(12, 200, 255));
  EXPECT_EQ(tables.blend(rgb(255, 255, 255), 3, 4), rgb(255, 255, 255));
}

TEST(HighlightTables, FullMaskGivesWhiteWhateverTheColour) {
  HighlightTables tables;
  tables.setMask(0, 0, 255);
  EXPECT_EQ(tables.blend(rgb(0, 0, 0), 0, 0), rgb(255, 255, 255));
  EXPECT_EQ(tables.blend(rgb(17, 99, 254), 0, 0), rgb(255, 255, 255));
}

TEST(HighlightTables, PartialMaskBlendsEachComponentTowardWhite) {
  HighlightTables tables;
  tables.setMask(41, 15, 51); // 20 % toward white
  const std::uint32_t c = tables.blend(rgb(0, 100, 255), 41, 15);
  EXPECT_EQ(red(c), 51u);
  EXPECT_EQ(green(c), 131u); // 100 x 0.8 + 51
  EXPECT_EQ(blue(c), 255u);  // never wraps to a dark value
}

TEST(HighlightTables, EachPointHasItsOwnMaskValue) {
  HighlightTables tables;
  tables.setMask(1, 0, 255);
  tables.setMask(0, 1, 0);
  tables.setMask(43, 17, 255);
  EXPECT_EQ(tables.blend(rgb(10, 10, 10), 1, 0), rgb(255, 255, 255));
  EXPECT_EQ(tables.blend(rgb(10, 10, 10), 0, 1), rgb(10, 10, 10));
  EXPECT_EQ(tables.blend(rgb(10, 10, 10), 43, 17), rgb(255, 255, 255));
  EXPECT_EQ(tables.blend(rgb(10, 10, 10), 42, 17), rgb(10, 10, 10));
}

TEST(HighlightTables, PointsOutsideTheMaskAreLeftAlone) {
  HighlightTables tables;
  tables.setMask(44, 0, 255);
  tables.setMask(0, 18, 255);
  tables.setMask(-1, 0, 255);
  EXPECT_EQ(tables.blend(rgb(1, 2, 3), 44, 0), rgb(1, 2, 3));
  EXPECT_EQ(tables.blend(rgb(1, 2, 3), 0, 18), rgb(1, 2, 3));
  EXPECT_EQ(tables.blend(rgb(1, 2, 3), -1, 0), rgb(1, 2, 3));
  // No write outside the mask landed on a neighbour inside it.
  EXPECT_EQ(tables.blend(rgb(1, 2, 3), 1, 0), rgb(1, 2, 3)); // (0, 18) read column-major
  EXPECT_EQ(tables.blend(rgb(1, 2, 3), 0, 17), rgb(1, 2, 3));
}
