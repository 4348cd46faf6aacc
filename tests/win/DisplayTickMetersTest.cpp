// The meters of an open editor while a host plays audio through it: output levels and their
// peak-hold lines, the reduction meter, Bypass, and the timer of the chosen display speed.
#include "DisplayTickHarness.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace tick_harness;

namespace {

// The meter heights the face promises: 10.67 pixels per dB with full scale at 193, and 21.33
// pixels per dB of reduction.
int expectedOutputLevel(double peak) {
  return static_cast<int>(std::log10(peak * 32768.0) * 213.33333 - 769.299);
}
int expectedReduction(double inputPeak, double outputPeak) {
  return static_cast<int>(std::log10(inputPeak / outputPeak) * 426.6666);
}
double limiterThreshold(int steps) { return std::pow(10.0, -steps / 40.0); }

std::uint32_t rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>((r << 16) | (g << 8) | b);
}

// A steady signal's level alternates between its value and one row less.
bool settledAt(int level, int expected) { return level == expected || level == expected - 1; }

class DisplayTickMeters : public LiveEditor {
protected:
  Image lit106 = resourceBitmap(IDB_OUTPUT_METER);
  Image lit107 = resourceBitmap(IDB_REDUCTION_METER);
  Image face = resourceBitmap(IDB_FACE);

  int output(const Image& shown, MeterPlace meter) const {
    return outputLevel(meterRows(shown, meter, lit106, face));
  }
  int reduction(const Image& shown) const {
    return reductionLevel(meterRows(shown, kReductionMeter, lit107, face));
  }
  bool rowIs(const Image& shown, MeterPlace meter, int y, std::uint32_t colour) const {
    for (int x = meter.x; x < meter.x + meter.width; ++x) {
      if (shown.at(x, y) != colour) {
        return false;
      }
    }
    return true;
  }
};

TEST_F(DisplayTickMeters, FullScaleSineLightsBothOutputMetersToFullScale) {
  audio->play(Signal::Sine, 1.0f);
  const int full = expectedOutputLevel(1.0);
  ASSERT_EQ(full, 193);
  int left = -2;
  int right = -2;
  int reduced = -2;
  // The reduction meter falls from its start at the end of the scale to nothing.
  EXPECT_TRUE(tickUntil([&](const Image& shown) {
    left = output(shown, kLeftOutputMeter);
    right = output(shown, kRightOutputMeter);
    reduced = reduction(shown);
    return settledAt(left, full) && settledAt(right, full) && reduced == 0;
  })) << left
      << " " << right << " " << reduced;
  // Settled, the meters alternate between the level and one row less, never more.
  int highest = 0;
  for (int i = 0; i < 6; ++i) {
    tick();
    const Image shown = captureWindow(editor);
    for (MeterPlace meter : {kLeftOutputMeter, kRightOutputMeter}) {
      const int level = output(shown, meter);
      EXPECT_TRUE(settledAt(level, full)) << level;
      highest = std::max(highest, level);
    }
  }
  EXPECT_EQ(highest, full);

  audio->play(Signal::Sine, 0.25f);
  const int quiet = expectedOutputLevel(0.25);
  EXPECT_TRUE(tickUntil([&](const Image& shown) {
    left = output(shown, kLeftOutputMeter);
    return settledAt(left, quiet);
  })) << left;
}

struct HeldPeak {
  float outputSteps;
  std::uint32_t colour;
  const char* name;
};

class DisplayTickPeakHold : public DisplayTickMeters,
                            public testing::WithParamInterface<HeldPeak> {};

// The line stays at the last maximum while the level falls below it: green at full scale, red
// above it.
TEST_P(DisplayTickPeakHold, LineHoldsTheLastMaximumInItsColour) {
  const HeldPeak held = GetParam();
  fx->setParameter(kOutput, held.outputSteps);
  // After silence both marks sit at the bottom, so the peak restarts their hold.
  audio->play(Signal::Silence, 0.0f);
  ticks(40);
  audio->play(Signal::Sine, 1.0f);
  const double gain = std::pow(10.0, (24000.0 - held.outputSteps) / 20000.0);
  const int peak = expectedOutputLevel(gain);
  int level = -2;
  ASSERT_TRUE(tickUntil(
      [&](const Image& shown) {
        level = output(shown, kLeftOutputMeter);
        return level >= peak - 1;
      },
      5))
      << level;

  audio->play(Signal::Sine, 0.25f);
  const int lineRow = 270 - peak;
  bool lineSeen = false;
  for (int i = 0; i < 10 && !lineSeen; ++i) {
    tick();
    const Image shown = captureWindow(editor);
    level = output(shown, kLeftOutputMeter);
    lineSeen = level >= 0 && level < peak - 4 &&
               rowIs(shown, kLeftOutputMeter, lineRow, held.colour) &&
               rowIs(shown, kRightOutputMeter, lineRow, held.colour);
  }
  EXPECT_TRUE(lineSeen) << held.name << " line at row " << lineRow << ", level " << level;
}

INSTANTIATE_TEST_SUITE_P(Colours, DisplayTickPeakHold,
                         testing::Values(HeldPeak{24000.0f, rgb(0, 160, 0), "green"},
                                         HeldPeak{23000.0f, rgb(200, 0, 0), "red"}),
                         [](const testing::TestParamInfo<HeldPeak>& p) {
                           return std::string(p.param.name);
                         });

TEST_F(DisplayTickMeters, LimitingBySixDecibelsFillsHalfTheReductionMeter) {
  fx->setParameter(kThrLim, 12.0f); // -6 dB
  audio->play(Signal::Sine, 1.0f);
  const double threshold = limiterThreshold(12);
  const int expected = expectedReduction(1.0, threshold);
  ASSERT_GE(expected, 127);
  ASSERT_LE(expected, 128);
  const int outputExpected = expectedOutputLevel(threshold);
  int shownReduction = -2;
  int left = -2;
  EXPECT_TRUE(tickUntil([&](const Image& shown) {
    shownReduction = reduction(shown);
    left = output(shown, kLeftOutputMeter);
    // The limiter holds the peak at the threshold within float rounding: one row either way.
    return shownReduction >= expected - 2 && shownReduction <= expected + 1 &&
           left >= outputExpected - 2 && left <= outputExpected + 1;
  })) << shownReduction
      << " " << left;
}

TEST_F(DisplayTickMeters, BypassEmptiesAllThreeMeters) {
  fx->setParameter(kThrLim, 12.0f);
  audio->play(Signal::Sine, 1.0f);
  ASSERT_TRUE(tickUntil([&](const Image& shown) {
    return reduction(shown) > 100 && output(shown, kLeftOutputMeter) > 100;
  }));
  fx->setParameter(kBypass, 1.0f);
  int levels[3] = {-2, -2, -2};
  EXPECT_TRUE(tickUntil(
      [&](const Image& shown) {
        levels[0] = reduction(shown);
        levels[1] = output(shown, kLeftOutputMeter);
        levels[2] = output(shown, kRightOutputMeter);
        return levels[0] == 0 && levels[1] == 0 && levels[2] == 0;
      },
      20))
      << levels[0] << " " << levels[1] << " " << levels[2];
}

TEST_F(DisplayTickMeters, BrokenAudioKeepsEveryMeterOnItsScale) {
  fx->setParameter(kThrLim, 12.0f);
  audio->play(Signal::Broken, 0.0f);
  for (int i = 0; i < 30; ++i) {
    tick();
    const Image shown = captureWindow(editor);
    ASSERT_GE(reduction(shown), 0) << i;
    ASSERT_GE(output(shown, kLeftOutputMeter), 0) << i;
    ASSERT_GE(output(shown, kRightOutputMeter), 0) << i;
  }
  // Nothing the display keeps stays broken: a clean signal reads as it should again.
  audio->play(Signal::Sine, 0.25f);
  const int quiet = expectedOutputLevel(0.25);
  int left = -2;
  EXPECT_TRUE(tickUntil([&](const Image& shown) {
    left = output(shown, kLeftOutputMeter);
    return settledAt(left, quiet) && reduction(shown) == 0;
  })) << left;
}

TEST_F(DisplayTickMeters, TimerOfTheChosenDisplaySpeedDrivesTheDisplay) {
  audio->play(Signal::Sine, 1.0f);
  const Image before = captureWindow(editor);
  ASSERT_EQ(output(before, kLeftOutputMeter), 0) << "no tick has run yet";
  SendMessageA(editor, WM_COMMAND, MAKEWPARAM(IDM_SPEED_FAST, 0), 0);
  int left = -2;
  EXPECT_TRUE(pumpUntil(
      [&] {
        left = output(captureWindow(editor), kLeftOutputMeter);
        return settledAt(left, expectedOutputLevel(1.0));
      },
      20000))
      << left;
}

} // namespace
