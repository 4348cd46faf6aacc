#include "DisplayFollow.h"
#include "Conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

TEST(DisplayFollowRelease, ShowsTheAutomaticLengthInMilliseconds) {
  EXPECT_FLOAT_EQ(autoReleaseReadoutMs(4410, 44100.0f), 100.0f);
  EXPECT_FLOAT_EQ(autoReleaseReadoutMs(480, 48000.0f), 10.0f);
}

TEST(DisplayFollowRelease, UnusableRatesNeverDivideByZero) {
  for (float rate : {0.0f, -48000.0f, std::nanf(""), std::numeric_limits<float>::infinity()}) {
    const float ms = autoReleaseReadoutMs(4410, rate);
    EXPECT_TRUE(std::isfinite(ms)) << rate;
    EXPECT_GT(ms, 0.0f) << rate;
  }
}

TEST(DisplayFollowOutput, StepsOfTheLoweredGain) {
  EXPECT_EQ(outputStepsOfGain(1.0f), 24000);
  EXPECT_EQ(outputStepsOfGain(2.0f), 17979); // +6.02 dB
  EXPECT_EQ(outputStepsOfGain(0.5f), 30020);
  EXPECT_EQ(outputStepsOfGain(15.848932f), 0); // +24 dB
}

TEST(DisplayFollowOutput, GainsWithoutALogarithmSaturate) {
  EXPECT_EQ(outputStepsOfGain(0.0f), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(outputStepsOfGain(-1.0f), 0);
  EXPECT_EQ(outputStepsOfGain(std::nanf("")), 0);
  EXPECT_EQ(outputStepsOfGain(std::numeric_limits<float>::infinity()),
            std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(outputStepsOfGain(1e30f), 24000 - 600000);
}

} // namespace
