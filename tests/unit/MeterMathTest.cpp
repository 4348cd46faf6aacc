#include "MeterMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(MeterMathOutputLevel, FullScalePeakIsGreenAndOneMoreIsRed) {
  const std::int32_t full = outputMeterLevel(1.0f, 1.0f);
  EXPECT_EQ(full, 193);
  EXPECT_FALSE(peakMarkAboveFullScale(kMeterBottomRow - full));
  EXPECT_EQ(limitToNormalizeCeiling(full), 192); // Auto Normalize keeps it one pixel lower
  EXPECT_EQ(limitToNormalizeCeiling(150), 150);

  const std::int32_t over = outputMeterLevel(1.0005f, 1.0f);
  EXPECT_EQ(over, 194);
  EXPECT_TRUE(peakMarkAboveFullScale(kMeterBottomRow - over));
}

TEST(MeterMathOutputLevel, FollowsOutputGainAndTenPixelsPerDecibel) {
  EXPECT_EQ(outputMeterLevel(0.5f, 2.0f), 193);
  // -6.02 dB is 64.2 pixels below full scale.
  EXPECT_EQ(outputMeterLevel(0.5f, 1.0f), 129);
  EXPECT_EQ(outputMeterLevel(0.891251f, 1.0f), 183); // -1 dB
  EXPECT_EQ(outputMeterLevel(0.01f, 1.0f), 0);       // below the meter's 18 dB
}

TEST(MeterMathOutputLevel, UncomputableAndHugePeaksStayOnTheMeter) {
  EXPECT_EQ(outputMeterLevel(0.0f, 1.0f), 0);
  EXPECT_EQ(outputMeterLevel(-0.5f, 1.0f), 0);
  EXPECT_EQ(outputMeterLevel(1e-9f, 1.0f), 0);
  EXPECT_EQ(outputMeterLevel(std::nanf(""), 1.0f), 0);
  EXPECT_EQ(outputMeterLevel(1.0f, std::nanf("")), 0);
  EXPECT_EQ(outputMeterLevel(kInf, 1.0f), kMeterMaxLevel);
  EXPECT_EQ(outputMeterLevel(1e30f, 1e30f), kMeterMaxLevel);
  EXPECT_EQ(outputMeterLevel(1.5f, 1.0f), 231);
  EXPECT_EQ(outputMeterLevel(2.0f, 1.0f), kMeterMaxLevel);
}

TEST(MeterMathReduction, SixDecibelsAreHalfTheMeter) {
  EXPECT_EQ(reductionPixels(2.0f, 1.0f), 128);
  EXPECT_EQ(reductionPixels(0.5f, 0.25f), 128);
  EXPECT_EQ(reductionPixels(1.0f, 1.0f), 0);
  EXPECT_EQ(reductionPixels(4.0f, 1.0f), kMeterMaxLevel);
}

TEST(MeterMathReduction, SilenceGainAndNonsenseGiveNoReduction) {
  EXPECT_EQ(reductionPixels(0.0f, 0.0f), 0);
  EXPECT_EQ(reductionPixels(0.5f, 1.0f), 0);
  EXPECT_EQ(reductionPixels(std::nanf(""), 1.0f), 0);
  EXPECT_EQ(reductionPixels(1.0f, std::nanf("")), 0);
  // A peak that lost all its gain is the deepest reduction there is.
  EXPECT_EQ(reductionPixels(1.0f, 0.0f), kMeterMaxLevel);
  EXPECT_EQ(reductionPixels(kInf, 1.0f), kMeterMaxLevel);
}

TEST(MeterMathSmoothing, RisesAtOnceAndFallsByHalfTheGapPlusOne) {
  EXPECT_EQ(smoothMeterLevel(10, 200, false), 200);
  EXPECT_EQ(smoothMeterLevel(100, 90, false), 94);
  EXPECT_EQ(smoothMeterLevel(100, 100, false), 99);
  // The reduction meter starts one row past its end.
  EXPECT_EQ(smoothMeterLevel(257, 0, false), 128);

  std::int32_t level = 100;
  const std::int32_t expected[] = {49, 24, 11, 5, 2, 0, 0};
  for (std::int32_t want : expected) {
    level = smoothMeterLevel(level, 0, false);
    EXPECT_EQ(level, want);
  }
}

TEST(MeterMathSmoothing, BypassDropsToZeroAtOnce) {
  EXPECT_EQ(smoothMeterLevel(200, 250, true), 0);
  EXPECT_EQ(smoothMeterLevel(200, 0, true), 0);
}

// Runs ticks of an output meter at a constant level and counts how long the mark stays put.
int ticksHeld(PeakMark& m, std::int32_t level, std::int32_t heldRow, std::int32_t ticks, int max) {
  int held = 0;
  for (int i = 0; i < max; ++i) {
    m = holdOutputPeak(level, m);
    if (m.mark != heldRow) {
      break;
    }
    ++held;
    m.holdCount = nextHoldCount(m.holdCount, ticks);
  }
  return held;
}

TEST(MeterMathPeakHold, OutputMarkHoldsForPeakHoldTicksThenFollows) {
  for (std::int32_t ticks : {16, 240}) {
    PeakMark m{kMeterBottomRow, 0};
    m = holdOutputPeak(200, m);
    EXPECT_EQ(m.mark, 70);
    m.holdCount = nextHoldCount(m.holdCount, ticks);
    // The peak's own tick plus ticks - 1 quiet ones.
    EXPECT_EQ(ticksHeld(m, 50, 70, ticks, 1000), ticks - 1) << ticks;
    EXPECT_EQ(m.mark, kMeterBottomRow - 50);
  }
}

TEST(MeterMathPeakHold, HigherOutputLevelMovesTheMarkAndRestartsTheHold) {
  PeakMark m{100, 5};
  m = holdOutputPeak(150, m);
  EXPECT_EQ(m.mark, 100); // a lower level than the held one
  EXPECT_EQ(m.holdCount, 5);
  m = holdOutputPeak(180, m);
  EXPECT_EQ(m.mark, 90);
  EXPECT_EQ(m.holdCount, 0);
}

TEST(MeterMathPeakHold, OutputMetersShareTheirHoldCounter) {
  // A new left maximum restarts the shared counter, so the right mark follows its level too.
  PeakMark left = holdOutputPeak(200, {100, 7});
  PeakMark right = holdOutputPeak(20, {60, left.holdCount});
  EXPECT_EQ(left.mark, 70);
  EXPECT_EQ(right.mark, kMeterBottomRow - 20);
}

TEST(MeterMathPeakHold, ReductionMarkFollowsDeeperReductions) {
  PeakMark m{270, 1};
  m = holdReductionPeak(128, m);
  EXPECT_EQ(m.mark, 270); // held: a smaller row is a shallower reduction
  m = {20, 3};
  m = holdReductionPeak(128, m);
  EXPECT_EQ(m.mark, 141);
  EXPECT_EQ(m.holdCount, 0);
  m.holdCount = 4;
  m = holdReductionPeak(10, m);
  EXPECT_EQ(m.mark, 141);
  m.holdCount = 0;
  m = holdReductionPeak(10, m);
  EXPECT_EQ(m.mark, 23);
}

TEST(MeterMathPeakHold, HoldCounterWrapsAndSurvivesBadLengths) {
  EXPECT_EQ(nextHoldCount(0, 32), 1);
  EXPECT_EQ(nextHoldCount(31, 32), 0);
  EXPECT_EQ(nextHoldCount(5, 1), 0);
  EXPECT_EQ(nextHoldCount(5, 0), 0);
  EXPECT_EQ(nextHoldCount(5, -16), 0);
  EXPECT_EQ(nextHoldCount(2147483646, 2147483647), 0);
  const std::int32_t wrapped = nextHoldCount(-3, 16);
  EXPECT_GE(wrapped, 0);
  EXPECT_LT(wrapped, 16);
}

} // namespace
