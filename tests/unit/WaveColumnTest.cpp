#include "WaveColumn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr std::int32_t kFull = 32768;

TEST(WaveUnits, TruncatesTowardZeroInSixteenBitUnits) {
  EXPECT_EQ(waveUnits(1.0f), kFull);
  EXPECT_EQ(waveUnits(-1.0f), -kFull);
  EXPECT_EQ(waveUnits(0.5f), 16384);
  EXPECT_EQ(waveUnits(1.9f / 32768.0f), 1);
  EXPECT_EQ(waveUnits(-1.9f / 32768.0f), -1);
  EXPECT_EQ(waveUnits(0.0f), 0);
}

TEST(WaveUnits, NanInfinityAndHugeValuesNeverOverflow) {
  EXPECT_EQ(waveUnits(std::nanf("")), 0);
  EXPECT_EQ(waveUnits(kInf), kWaveUnitLimit);
  EXPECT_EQ(waveUnits(-kInf), -kWaveUnitLimit);
  EXPECT_EQ(waveUnits(1e30f), kWaveUnitLimit);
  EXPECT_EQ(waveUnits(-1e30f), -kWaveUnitLimit);
  EXPECT_EQ(waveUnits(100.0f), 3276800);
}

TEST(WaveRows, ZoomTwoPutsFullScaleOnTheEdges) {
  EXPECT_EQ(waveMaxRow(2, kFull), 0);
  EXPECT_EQ(waveMinRow(2, -kFull), kWaveBottomRow);
  EXPECT_EQ(waveMaxRow(2, kFull / 2), 64);
  EXPECT_EQ(waveMinRow(2, -kFull / 2), 192);
  EXPECT_EQ(waveMaxRow(2, 0), kWaveCentreRow);
  EXPECT_EQ(waveMinRow(2, 0), kWaveCentreRow);
}

TEST(WaveRows, ZoomThirtyTwoReachesTheEdgesAtOneSixteenth) {
  EXPECT_EQ(waveMaxRow(32, kFull / 16), 0);
  EXPECT_EQ(waveMaxRow(32, kFull / 16 - 1), 1);
  EXPECT_EQ(waveMinRow(32, -kFull / 16), kWaveBottomRow);
  EXPECT_EQ(waveMaxRow(32, kFull), 0);
  EXPECT_EQ(waveMinRow(32, -kFull), kWaveBottomRow);
}

TEST(WaveRows, DivisionTruncatesTowardZero) {
  // -511 / 512 is 0, not -1: a small negative maximum stays on the centre line.
  EXPECT_EQ(waveMaxRow(1, -511), kWaveCentreRow);
  EXPECT_EQ(waveMinRow(1, 511), kWaveCentreRow);
  EXPECT_EQ(waveMaxRow(1, -512), kWaveCentreRow + 1);
  EXPECT_EQ(waveMinRow(1, -1023), kWaveCentreRow + 1);
}

TEST(WaveRows, EnvelopesOnTheWrongSideStayOnTheDisplay) {
  EXPECT_EQ(waveMaxRow(32, -kFull), kWaveBottomRow);
  EXPECT_EQ(waveMinRow(32, kFull), 0);
  EXPECT_EQ(waveMaxRow(2147483647, kWaveUnitLimit), 0);
  EXPECT_EQ(waveMinRow(2147483647, -kWaveUnitLimit), kWaveBottomRow);
  EXPECT_EQ(waveMaxRow(-2147483647 - 1, kWaveUnitLimit), kWaveBottomRow);
  EXPECT_EQ(waveMinRow(-2147483647 - 1, kWaveUnitLimit), kWaveBottomRow);
  EXPECT_EQ(waveMaxRow(0, kFull), kWaveCentreRow);
}

TEST(WaveRows, ColumnTakesEachEnvelopeFromItsOwnSeries) {
  WaveEntry e{};
  e[kInputMax] = kFull;       // row 0 at zoom 2
  e[kInputMin] = -kFull;      // row 256
  e[kLimitedMax] = 8192;      // row 96
  e[kLimitedMin] = -4096;     // row 144
  e[kCompressedMax] = 16384;  // row 64
  e[kCompressedMin] = -12288; // row 176
  const WaveColumnRows rows = waveColumnRows(2, e);
  EXPECT_EQ(rows.input.top, 0);
  EXPECT_EQ(rows.input.bottom, 256);
  EXPECT_EQ(rows.compressed.top, 64);
  EXPECT_EQ(rows.compressed.bottom, 176);
  EXPECT_EQ(rows.limited.top, 96);
  EXPECT_EQ(rows.limited.bottom, 144);
}

TEST(WaveThresholds, CompressorLineSitsOnePixelInsideTheLimiterLine) {
  const ThresholdRows comp = compressorThresholdRows(1.0f, 1);
  EXPECT_TRUE(comp.shown);
  EXPECT_EQ(comp.upper, 64);
  EXPECT_EQ(comp.lower, 191);
  const ThresholdRows lim = limiterThresholdRows(1.0f, 1);
  EXPECT_TRUE(lim.shown);
  EXPECT_EQ(lim.upper, 63);
  EXPECT_EQ(lim.lower, 192);
}

TEST(WaveThresholds, LinesOutsideTheDisplayAreHidden) {
  EXPECT_TRUE(compressorThresholdRows(1.0f, 2).shown); // a = 127: the outermost rows
  EXPECT_EQ(compressorThresholdRows(1.0f, 2).upper, 0);
  EXPECT_EQ(compressorThresholdRows(1.0f, 2).lower, 255);
  EXPECT_FALSE(limiterThresholdRows(1.0f, 2).shown); // a = 128
  EXPECT_TRUE(limiterThresholdRows(0.5f, 3).shown);
  EXPECT_EQ(limiterThresholdRows(0.5f, 3).upper, 127 - 96);
  EXPECT_FALSE(limiterThresholdRows(std::nanf(""), 1).shown);
  EXPECT_FALSE(compressorThresholdRows(1.0f, 2147483647).shown);
  EXPECT_FALSE(limiterThresholdRows(kInf, 1).shown);
  EXPECT_FALSE(limiterThresholdRows(1.0f, -2147483647).shown);
}

TEST(WaveThresholds, ZeroZoomDrawsBothLinesAtTheCentre) {
  const ThresholdRows comp = compressorThresholdRows(0.5f, 0);
  EXPECT_TRUE(comp.shown);
  EXPECT_EQ(comp.upper, 128);
  EXPECT_EQ(comp.lower, 127);
}

} // namespace
