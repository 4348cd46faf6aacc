// Where a mouse message lands on the editor face.
#include "EditorMouseRegions.h"

#include <gtest/gtest.h>

namespace {

std::intptr_t lParamOf(std::uint16_t x, std::uint16_t y) {
  return static_cast<std::intptr_t>((std::uint32_t{y} << 16) | x);
}

TEST(EditorMousePoint, ReadsTwoSignedWords) {
  const MousePoint inside = mousePoint(lParamOf(400, 252));
  EXPECT_EQ(inside.x, 400);
  EXPECT_EQ(inside.y, 252);
  // Left of and above the window while the button is held outside it.
  const MousePoint outside = mousePoint(lParamOf(0xFFFB, 0x8000));
  EXPECT_EQ(outside.x, -5);
  EXPECT_EQ(outside.y, -32768);
  const MousePoint far = mousePoint(lParamOf(0x7FFF, 0xFFFF));
  EXPECT_EQ(far.x, 32767);
  EXPECT_EQ(far.y, -1);
}

TEST(EditorMousePoint, IgnoresTheUpperHalfOfA64BitParameter) {
  const auto wide = static_cast<std::intptr_t>((static_cast<std::uint64_t>(0xDEADBEEFu) << 32) |
                                               static_cast<std::uint64_t>(lParamOf(7, 9)));
  const MousePoint p = mousePoint(wide);
  EXPECT_EQ(p.x, 7);
  EXPECT_EQ(p.y, 9);
}

TEST(EditorClickRegions, IncludeAllFourEdges) {
  for (const ClickRegion& r :
       {kThresholdLabelRegion, kLogoRegion, kReductionMeterRegion, kOutputMetersRegion}) {
    EXPECT_TRUE(r.contains({r.left, r.top}));
    EXPECT_TRUE(r.contains({r.right, r.bottom}));
    EXPECT_FALSE(r.contains({r.left - 1, r.top}));
    EXPECT_FALSE(r.contains({r.right + 1, r.bottom}));
    EXPECT_FALSE(r.contains({r.left, r.top - 1}));
    EXPECT_FALSE(r.contains({r.right, r.bottom + 1}));
  }
}

} // namespace
