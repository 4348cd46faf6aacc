#include "RmsReadout.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace {

constexpr float kPi = 3.14159265f;
constexpr std::int32_t kFrames = 66150; // 1.5 s at 44.1 kHz, one read-out period

std::string readout(float sumL, float sumR, std::int32_t n, RmsFloor floor = RmsFloor::Tick) {
  char text[kRmsTextCapacity];
  formatRmsReadout(sumL, sumR, n, floor, text, sizeof text);
  return text;
}

// Sums of squares accumulated sample by sample in single precision, as the processor does.
float sineSum(float amplitude, std::int32_t frames) {
  float sum = 0.0f;
  for (std::int32_t i = 0; i < frames; ++i) {
    const float s = amplitude * std::sin(2.0f * kPi * 1000.0f * static_cast<float>(i) / 44100.0f);
    sum += s * s;
  }
  return sum;
}

TEST(RmsReadout, FullScaleSineReadsZeroAndSquareThreeDecibels) {
  EXPECT_EQ(readout(sineSum(1.0f, kFrames), 0.0f, kFrames), "0.0 dB");
  EXPECT_EQ(readout(static_cast<float>(kFrames), 0.0f, kFrames), "3.0 dB");
  EXPECT_EQ(readout(0.0f, sineSum(0.5f, kFrames), kFrames), "-6.0 dB");
  EXPECT_EQ(readout(sineSum(0.1f, kFrames), 0.0f, kFrames), "-20.0 dB");
}

TEST(RmsReadout, LouderChannelIsShown) {
  const float loud = sineSum(1.0f, kFrames);
  const float quiet = sineSum(0.1f, kFrames);
  EXPECT_EQ(readout(quiet, loud, kFrames), "0.0 dB");
  EXPECT_EQ(readout(loud, quiet, kFrames), "0.0 dB");
  EXPECT_EQ(readout(std::nanf(""), quiet, kFrames), "-20.0 dB");
  EXPECT_EQ(readout(quiet, std::nanf(""), kFrames), "-20.0 dB");
}

TEST(RmsReadout, SilenceAndUncountedFramesReadMinusInfinity) {
  EXPECT_EQ(readout(0.0f, 0.0f, kFrames), "-INF");
  EXPECT_EQ(readout(10.0f, 10.0f, 0), "-INF");
  EXPECT_EQ(readout(10.0f, 10.0f, -4), "-INF");
  EXPECT_EQ(readout(-1.0f, -1.0f, kFrames), "-INF");
  EXPECT_EQ(readout(INFINITY, 0.0f, kFrames), "-INF");
  EXPECT_TRUE(std::isnan(rmsLevel(0.0f, 0.0f, 10)));
}

TEST(RmsReadout, PaintShowsLevelsTheTickCallsSilence) {
  // A mean square that puts the level at -99.95 dB.
  const double rms = std::pow(10.0, (-99.95 + 87.298) / 20.0) / 32768.0;
  const auto sum = static_cast<float>(rms * rms * kFrames);
  ASSERT_GT(rmsLevel(sum, 0.0f, kFrames), -99.999f);
  ASSERT_LT(rmsLevel(sum, 0.0f, kFrames), -99.9f);
  EXPECT_EQ(readout(sum, 0.0f, kFrames, RmsFloor::Tick), "-INF");
  const std::string painted = readout(sum, 0.0f, kFrames, RmsFloor::Paint);
  EXPECT_TRUE(painted == "-99.9 dB" || painted == "-100.0 dB") << painted;
  EXPECT_EQ(readout(sum / 100.0f, 0.0f, kFrames, RmsFloor::Paint), "-INF");
}

TEST(RmsReadout, LoudestFloatSumsStillFitTheText) {
  const std::string t = readout(3.4e38f, 3.4e38f, 1);
  EXPECT_LT(t.size(), kRmsTextCapacity);
  EXPECT_EQ(t.substr(t.size() - 3), " dB");
}

TEST(RmsReadout, UsesADecimalPointUnderACommaLocale) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "de_DE.utf8") == nullptr) {
    GTEST_SKIP() << "no comma locale installed";
  }
  const std::string t = readout(sineSum(0.5f, kFrames), 0.0f, kFrames);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(t, "-6.0 dB");
}

} // namespace
