#include "TrackModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

namespace {

struct Track {
  float min;
  float max;
  float length;
};

// Every travelling control of the editor, including the three zoom ranges.
constexpr Track kTracks[] = {{1, 72, 155},    {2, 60, 155}, {10, 999, 138},
                             {1, 10, 41},     {1, 20, 41},  {2, 32, 41},
                             {0, 24000, 110}, {0, 48, 93},  {3, 999, 57}};

std::int32_t offsetOf(float value, const Track& t, bool& onTrack) {
  return trackOffset(value, t.min, t.max, t.length, onTrack);
}

TEST(ControlMappingEnds, MinAtFirstRowMaxAtLastAndBack) {
  for (const Track& t : kTracks) {
    bool onTrack = false;
    EXPECT_EQ(offsetOf(t.min, t, onTrack), 0);
    EXPECT_TRUE(onTrack);
    const auto last = static_cast<std::int32_t>(t.length - 1.0f);
    EXPECT_EQ(offsetOf(t.max, t, onTrack), last) << t.min << ".." << t.max;
    EXPECT_TRUE(onTrack);
    EXPECT_EQ(trackValueAt(0, t.min, t.max, t.length), t.min);
    EXPECT_EQ(trackValueAt(last, t.min, t.max, t.length), t.max);
  }
}

TEST(ControlMappingEnds, FaderOf155RowsHas155HandlePositions) {
  const Track& ratio = kTracks[1];
  std::set<std::int32_t> offsets;
  for (int i = 0; i <= 10000; ++i) {
    const float v = ratio.min + (ratio.max - ratio.min) * static_cast<float>(i) / 10000.0f;
    bool onTrack = false;
    offsets.insert(offsetOf(v, ratio, onTrack));
    EXPECT_TRUE(onTrack);
  }
  EXPECT_EQ(offsets.size(), 155u);
  EXPECT_EQ(*offsets.begin(), 0);
  EXPECT_EQ(*offsets.rbegin(), 154);
}

// The value of a clicked pixel puts the handle on that pixel or, through the single-precision
// ratio, one above it; never further away.
TEST(ControlMappingRoundTrip, ClickedPixelHoldsTheHandleWithinOneRow) {
  for (const Track& t : kTracks) {
    for (std::int32_t d = 0; d < static_cast<std::int32_t>(t.length); ++d) {
      bool onTrack = false;
      const std::int32_t back = offsetOf(trackValueAt(d, t.min, t.max, t.length), t, onTrack);
      EXPECT_TRUE(onTrack);
      EXPECT_TRUE(back == d || back == d - 1) << "pixel " << d << " came back as " << back;
    }
  }
}

TEST(ControlMappingOffTrack, ValuesOutsideTheRangeAreNotPainted) {
  const Track& t = kTracks[0];
  bool onTrack = true;
  offsetOf(t.min - 10.0f, t, onTrack);
  EXPECT_FALSE(onTrack);
  offsetOf(t.max * 2.0f, t, onTrack);
  EXPECT_FALSE(onTrack);
  offsetOf(std::nanf(""), t, onTrack);
  EXPECT_FALSE(onTrack);
  offsetOf(std::numeric_limits<float>::infinity(), t, onTrack);
  EXPECT_FALSE(onTrack);
}

TEST(ControlMappingDegenerate, EmptyRangeOrShortTrackCannotDivideByZero) {
  bool onTrack = false;
  EXPECT_EQ(trackOffset(5.0f, 5.0f, 5.0f, 41.0f, onTrack), 0);
  EXPECT_TRUE(onTrack);
  EXPECT_EQ(trackOffset(5.0f, 7.0f, 3.0f, 41.0f, onTrack), 0);
  EXPECT_EQ(trackValueAt(30, 1.0f, 20.0f, 1.0f), 1.0f);
  EXPECT_EQ(trackValueAt(30, 1.0f, 20.0f, 0.0f), 1.0f);
  EXPECT_EQ(trackPixels(-3.0f), 0);
  EXPECT_EQ(trackPixels(std::nanf("")), 0);
  EXPECT_EQ(trackPixels(155.9f), 155);
}

TEST(ControlMappingOffsets, ExtremePointsSaturateInsteadOfOverflowing) {
  EXPECT_EQ(pixelOffset(INT32_MIN, 66), INT32_MIN);
  EXPECT_EQ(pixelOffset(INT32_MAX, -66), INT32_MAX);
  EXPECT_EQ(pixelOffset(50, 66), -16);
}

} // namespace
