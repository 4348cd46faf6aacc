#include "DisplayTickState.h"

#include "MeterMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr std::int32_t kHold = 16;

OutputMeterInput steady(float peak, std::int32_t hold = kHold) {
  return {peak, peak, 1.0f, false, false, hold};
}

TEST(DisplayTickSlowTicks, EveryTwelfthTickFromTheFirst) {
  EditorState state;
  int slow = 0;
  for (int tick = 0; tick < 36; ++tick) {
    const bool isSlow = advanceSlowTick(state);
    EXPECT_EQ(isSlow, tick % 12 == 0) << tick;
    slow += isSlow ? 1 : 0;
  }
  EXPECT_EQ(slow, 3);
  EXPECT_EQ(state.slowTickCount, 0);
}

TEST(DisplayTickSlowTicks, StrayCountsComeBackIntoThePeriod) {
  for (std::int8_t stray : {std::int8_t{-5}, std::int8_t{100}, std::int8_t{127}}) {
    EditorState state;
    state.slowTickCount = stray;
    advanceSlowTick(state);
    EXPECT_GE(state.slowTickCount, 0);
    EXPECT_LT(state.slowTickCount, kSlowTickPeriod);
  }
}

TEST(DisplayTickReduction, SettlesOnTheReductionAndKeepsItInTheState) {
  EditorState state; // starts one row past the meter's end
  ReductionMeterFrame frame{};
  for (int tick = 0; tick < 20; ++tick) {
    frame = advanceReductionMeter(state, 128, false, kHold);
    EXPECT_EQ(state.reductionLevel, frame.level);
  }
  // At a steady target the smoothing alternates between it and one row less.
  EXPECT_GE(frame.level, 127);
  EXPECT_LE(frame.level, 128);
}

TEST(DisplayTickReduction, BypassEmptiesTheMeterAtOnce) {
  EditorState state;
  advanceReductionMeter(state, 200, false, kHold);
  const ReductionMeterFrame frame = advanceReductionMeter(state, 200, true, kHold);
  EXPECT_EQ(frame.level, 0);
  EXPECT_EQ(state.reductionLevel, 0);
}

TEST(DisplayTickReduction, PeakLineMarksTheDeepestReductionUntilTheHoldRunsOut) {
  EditorState state;
  state.reductionLevel = 0;
  state.reductionPeakMark = kMeterTopRow;
  const ReductionMeterFrame deep = advanceReductionMeter(state, 100, false, kHold);
  ASSERT_EQ(deep.level, 100);
  EXPECT_TRUE(deep.peak.shown);
  EXPECT_EQ(deep.peak.row, 100); // the first unlit row under the lit part
  EXPECT_EQ(state.reductionHoldCount, 1);

  int held = 0;
  ReductionMeterFrame frame = deep;
  while (frame.peak.row == 100 && held < 100) {
    frame = advanceReductionMeter(state, 0, false, kHold);
    ++held;
  }
  EXPECT_EQ(held, kHold); // the peak's tick and kHold - 1 more, then it follows the level
  EXPECT_EQ(frame.peak.row, frame.level);
}

TEST(DisplayTickOutput, FullScaleSettlesAtItsLevelAndAGainAboveTurnsTheLineRed) {
  EditorState state;
  OutputMeterFrame frame{};
  for (int tick = 0; tick < 40; ++tick) {
    frame = advanceOutputMeters(state, steady(1.0f));
  }
  EXPECT_GE(frame.levelL, 192);
  EXPECT_LE(frame.levelL, 193);
  EXPECT_EQ(frame.levelR, frame.levelL);
  EXPECT_EQ(state.vuLevelL, frame.levelL);
  EXPECT_TRUE(frame.peakL.shown);
  EXPECT_FALSE(frame.redL);

  OutputMeterInput louder = steady(1.0f);
  louder.outputGain = 1.2f;
  frame = advanceOutputMeters(state, louder);
  EXPECT_GT(frame.levelL, 193);
  EXPECT_EQ(frame.peakL.row, kMeterBottomRow - frame.levelL - kMeterTopRow);
  EXPECT_TRUE(frame.redL);
  EXPECT_TRUE(frame.redR);
}

TEST(DisplayTickOutput, CeilingKeepsBothMetersUnderFullScale) {
  EditorState state;
  state.vuLevelL = state.vuLevelR = 0;
  state.vuHoldCount = 0;
  OutputMeterInput over{4.0f, 1.0f, 1.0f, true, false, kHold};
  OutputMeterFrame frame{};
  for (int tick = 0; tick < 10; ++tick) {
    frame = advanceOutputMeters(state, over);
    EXPECT_LE(frame.levelL, kNormalizeMeterLimit);
    EXPECT_LE(frame.levelR, kNormalizeMeterLimit);
  }
  EXPECT_GE(frame.levelL, kNormalizeMeterLimit - 1);
  EXPECT_TRUE(frame.peakL.shown);
  EXPECT_FALSE(frame.redL);
  over.limitToCeiling = false;
  EXPECT_EQ(advanceOutputMeters(state, over).levelL, kMeterMaxLevel);
}

TEST(DisplayTickOutput, ANewMaximumOnOneSideRestartsTheHoldOfBoth) {
  EditorState state;
  state.vuLevelL = state.vuLevelR = 0;
  state.vuHoldCount = 0;
  advanceOutputMeters(state, steady(1.0f)); // both marks move to full scale
  const std::int32_t fullScaleRow = state.vuPeakMarkL;
  ASSERT_EQ(state.vuPeakMarkR, fullScaleRow);

  // Quiet ticks, with one louder right peak halfway: the left mark must hold longer too.
  int heldLeft = 0;
  for (int tick = 0; tick < 60; ++tick) {
    const float right = tick == kHold / 2 ? 1.1f : 0.0f;
    const OutputMeterFrame f = advanceOutputMeters(state, {0.0f, right, 1.0f, false, false, kHold});
    if (f.peakL.row + kMeterTopRow != fullScaleRow) {
      break;
    }
    ++heldLeft;
  }
  // Ticks 0..kHold/2 up to the right peak, then kHold - 1 more from the restart.
  EXPECT_EQ(heldLeft, kHold / 2 + 1 + kHold - 1);
}

TEST(DisplayTickOutput, BypassEmptiesBothMetersAtOnce) {
  EditorState state;
  OutputMeterInput input = steady(1.0f);
  input.bypassed = true;
  const OutputMeterFrame frame = advanceOutputMeters(state, input);
  EXPECT_EQ(frame.levelL, 0);
  EXPECT_EQ(frame.levelR, 0);
  EXPECT_EQ(state.vuLevelL, 0);
  EXPECT_EQ(state.vuLevelR, 0);
}

TEST(DisplayTickOutput, BrokenFeedsGiveLevelsOnTheMeter) {
  const float nan = std::nanf("");
  const struct {
    float peak;
    float gain;
    std::int32_t level;
  } cases[] = {{nan, 1.0f, 0},
               {1.0f, nan, 0},
               {kInf, 1.0f, kMeterMaxLevel},
               {-kInf, 1.0f, 0},
               {1e30f, 1e30f, kMeterMaxLevel},
               {-1e30f, 1.0f, 0}};
  for (const auto& c : cases) {
    EditorState state;
    state.vuLevelL = state.vuLevelR = 0;
    const OutputMeterFrame frame =
        advanceOutputMeters(state, {c.peak, c.peak, c.gain, false, false, kHold});
    EXPECT_EQ(frame.levelL, c.level) << c.peak << " x " << c.gain;
    EXPECT_EQ(frame.levelR, c.level);
  }
}

TEST(DisplayTickWaveHistory, WritesTheOldestEntryAndWrapsAround) {
  EditorState state;
  state.waveColumn = static_cast<std::int8_t>(kWaveHistoryLength - 1);
  const WaveEntry column{100, -90, 50, -40, 80, -70};
  advanceWaveHistory(state, column, false);
  EXPECT_EQ(state.waveHistory[kWaveHistoryLength - 1], column);
  EXPECT_EQ(state.waveColumn, 0);
  advanceWaveHistory(state, column, false);
  EXPECT_EQ(state.waveHistory[0], column);
  EXPECT_EQ(state.waveColumn, 1);
}

TEST(DisplayTickWaveHistory, BypassWritesAnEmptyColumn) {
  EditorState state;
  state.waveHistory[0] = {1, 2, 3, 4, 5, 6};
  advanceWaveHistory(state, {100, -90, 50, -40, 80, -70}, true);
  EXPECT_EQ(state.waveHistory[0], (WaveEntry{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(state.waveColumn, 1);
}

TEST(DisplayTickWaveHistory, StrayColumnIndexStaysInsideTheHistory) {
  for (std::int8_t stray : {std::int8_t{-1}, std::int8_t{122}, std::int8_t{127}}) {
    EditorState state;
    state.waveColumn = stray;
    advanceWaveHistory(state, {7, 7, 7, 7, 7, 7}, false);
    EXPECT_GE(state.waveColumn, 0) << int{stray};
    EXPECT_LT(state.waveColumn, static_cast<int>(kWaveHistoryLength)) << int{stray};
  }
}

} // namespace
