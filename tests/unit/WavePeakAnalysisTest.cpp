#include "WavePeakAnalysis.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

enum class Side { Left, Right };

// Fills one channel's six feed values: max, min, total gains at both, compressor gains at both.
void feed(WavePeakFeed& f, Side side, std::array<float, 6> v) {
  const std::array<RelaxedAtomic<float>*, 6> slots =
      side == Side::Left
          ? std::array{&f.maxL,           &f.minL,          &f.totalGainAtMaxL, &f.totalGainAtMinL,
                       &f.compGainAtMaxL, &f.compGainAtMinL}
          : std::array{&f.maxR,           &f.minR,          &f.totalGainAtMaxR, &f.totalGainAtMinR,
                       &f.compGainAtMaxR, &f.compGainAtMinR};
  for (std::size_t i = 0; i < slots.size(); ++i) {
    slots[i]->store(v[i]);
  }
}

TEST(WavePeakAnalysis, PeakTakesTheLargerExcursionAndItsGain) {
  const ChannelPeaks up = channelPeaks(0.8f, -0.5f, 0.5f, 0.25f, 0.75f, 0.9f);
  EXPECT_FLOAT_EQ(up.inputPeak, 0.8f);
  EXPECT_FLOAT_EQ(up.outputPeak, 0.4f);
  EXPECT_FLOAT_EQ(up.limitedMin, -0.125f);
  EXPECT_FLOAT_EQ(up.compressedMax, 0.6f);
  EXPECT_FLOAT_EQ(up.compressedMin, -0.45f);

  const ChannelPeaks down = channelPeaks(0.3f, -0.9f, 0.5f, 0.25f, 1.0f, 1.0f);
  EXPECT_FLOAT_EQ(down.inputPeak, 0.9f);
  EXPECT_FLOAT_EQ(down.outputPeak, 0.225f);

  // A tie is taken from the minimum.
  const ChannelPeaks tie = channelPeaks(0.5f, -0.5f, 1.0f, 0.5f, 1.0f, 1.0f);
  EXPECT_FLOAT_EQ(tie.outputPeak, 0.25f);
}

TEST(WavePeakAnalysis, LouderOutputChannelFeedsTheWaveAndReduction) {
  WavePeakFeed f{};
  feed(f, Side::Left, {1.0f, -0.5f, 0.5f, 1.0f, 0.75f, 1.0f});  // output 0.5 after 6 dB
  feed(f, Side::Right, {0.4f, -0.25f, 1.0f, 1.0f, 1.0f, 1.0f}); // output 0.4, no reduction
  const TickPeaks t = analysePeaks(f);
  EXPECT_FLOAT_EQ(t.outputPeakL, 0.5f);
  EXPECT_FLOAT_EQ(t.outputPeakR, 0.4f);
  EXPECT_EQ(t.reduction, 128);
  EXPECT_EQ(t.wave[kInputMax], 32768);
  EXPECT_EQ(t.wave[kInputMin], -16384);
  EXPECT_EQ(t.wave[kLimitedMax], 16384);
  EXPECT_EQ(t.wave[kLimitedMin], -16384);
  EXPECT_EQ(t.wave[kCompressedMax], 24576);
  EXPECT_EQ(t.wave[kCompressedMin], -16384);

  feed(f, Side::Right,
       {0.5f, -0.25f, 1.0f, 1.0f, 1.0f, 1.0f}); // equal outputs: the right one is shown
  const TickPeaks tie = analysePeaks(f);
  EXPECT_EQ(tie.reduction, 0);
  EXPECT_EQ(tie.wave[kInputMax], 16384);
}

TEST(WavePeakAnalysis, SilenceAndNanFeedsGiveAnEmptyColumn) {
  WavePeakFeed silent{};
  const TickPeaks s = analysePeaks(silent);
  EXPECT_EQ(s.reduction, 0);
  for (std::int32_t v : s.wave) {
    EXPECT_EQ(v, 0);
  }

  WavePeakFeed bad{};
  const float nan = std::nanf("");
  feed(bad, Side::Left, {nan, nan, nan, nan, nan, nan});
  feed(bad, Side::Right, {nan, nan, nan, nan, nan, nan});
  const TickPeaks b = analysePeaks(bad);
  EXPECT_EQ(b.reduction, 0);
  for (std::int32_t v : b.wave) {
    EXPECT_EQ(v, 0);
  }
}

TEST(WavePeakAnalysis, OverloadedFeedSaturatesInsteadOfWrapping) {
  WavePeakFeed f{};
  feed(f, Side::Left, {1e30f, -1e30f, 1.0f, 1.0f, 1.0f, 1.0f});
  const TickPeaks t = analysePeaks(f);
  EXPECT_EQ(t.wave[kInputMax], kWaveUnitLimit);
  EXPECT_EQ(t.wave[kInputMin], -kWaveUnitLimit);
  EXPECT_EQ(t.reduction, 0);
}

} // namespace
