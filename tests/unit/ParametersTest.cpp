// The thirteen parameters as the host sees them: conversions of both value ranges, the values
// handed back, names, labels and display texts, and what each change derives.
#include "PluginHarness.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

struct StepParam {
  VstInt32 index;
  float scale;
};
constexpr StepParam kStepParams[] = {{kThrComp, 72},    {kOutput, 24000}, {kRelease, 999},
                                     {kRatio, 60},      {kZoom, 20},      {kThrLim, 48},
                                     {kLookAhead, 1000}};

// The live steps of a step parameter, read from the effect's members.
double stepsOf(const ADelay& fx, VstInt32 index) {
  switch (index) {
  case kThrComp:
    return fx.compThresholdSteps;
  case kOutput:
    return fx.outputSteps;
  case kRelease:
    return fx.releaseMs;
  case kRatio:
    return fx.ratioSteps;
  case kZoom:
    return fx.zoomSteps;
  case kThrLim:
    return fx.limThresholdSteps;
  default:
    return fx.lookAheadValue;
  }
}

class Parameters : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(plugin); }
  Plugin plugin;
  ADelay& fx() { return plugin.effect(); }
};

} // namespace

TEST_F(Parameters, NamesAreNineCharactersAndLabelsThree) {
  const char* names[] = {"Soft     ", "Normalize", "Dither   ", "Bypass   ", "ThrComp  ",
                         "Output   ", "Release  ", "Ratio    ", "Zoom     ", "---      ",
                         "AutoRel  ", "ThrLim   ", "LookAhead"};
  const char* labels[] = {"   ", "   ", "   ", "   ", "dB ", "dB ", "ms ",
                          "   ", "   ", "---", "   ", "dB ", "ms "};
  for (VstInt32 i = 0; i < 13; ++i) {
    EXPECT_EQ(plugin.name(i), names[i]) << i;
    EXPECT_EQ(plugin.label(i), labels[i]) << i;
  }
  for (VstInt32 i : {13, 14, 100, -1, INT_MIN, INT_MAX}) {
    EXPECT_EQ(plugin.name(i), " --- ") << i;
    EXPECT_EQ(plugin.label(i), " --- ") << i;
    EXPECT_EQ(plugin.display(i), " --- ") << i;
    EXPECT_EQ(plugin.get(i), 0.0f) << i;
  }
}

TEST_F(Parameters, NormalizedValuesAreScaledAndRounded) {
  // truncate(value x scale + 0.5)
  const double expect[] = {36, 12000, 500, 30, 10, 24, 500};
  for (std::size_t k = 0; k < std::size(kStepParams); ++k) {
    plugin.set(kStepParams[k].index, 0.5f);
    EXPECT_EQ(stepsOf(fx(), kStepParams[k].index), expect[k]) << kStepParams[k].index;
  }
  plugin.set(kRatio, 0.0249f); // 1.494 + 0.5
  EXPECT_EQ(fx().ratioSteps, 1);
  plugin.set(kRatio, 0.0251f); // 1.506 + 0.5
  EXPECT_EQ(fx().ratioSteps, 2);
  plugin.set(kLookAhead, 0.0004f); // 0.4 + 0.5
  EXPECT_EQ(fx().lookAheadValue, 0.0f);
  plugin.set(kLookAhead, 0.0016f);
  EXPECT_EQ(fx().lookAheadValue, 2.0f);
}

TEST_F(Parameters, ZeroOneAndLargerValuesAreNatural) {
  plugin.set(kThrComp, 1.0f); // one step, not the full 72
  EXPECT_EQ(plugin.display(kThrComp), "-0.5");
  plugin.set(kLookAhead, 1.0f);
  EXPECT_EQ(fx().lookAheadValue, 1.0f);
  EXPECT_EQ(plugin.record()->initialDelay, 0);
  plugin.set(kThrComp, 36.9f);
  EXPECT_EQ(fx().compThresholdSteps, 36);
  plugin.set(kRelease, 0.0f);
  EXPECT_EQ(fx().releaseMs, 0);
  plugin.set(kLookAhead, 123.75f); // LookAhead keeps the natural value itself
  EXPECT_EQ(fx().lookAheadValue, 123.75f);
  plugin.set(kRatio, -3.7f);
  EXPECT_EQ(fx().ratioSteps, -3);
}

TEST_F(Parameters, OnlyLookAheadAndTheMemberTypesLimitNaturalValues) {
  plugin.set(kOutput, 30000.0f);
  EXPECT_EQ(fx().outputSteps, 30000);
  EXPECT_EQ(plugin.display(kOutput), "-6.00");
  plugin.set(kZoom, 32.0f);
  EXPECT_EQ(fx().zoomSteps, 32);
  plugin.set(kRelease, 5000.0f);
  EXPECT_EQ(fx().releaseMs, 5000);
  for (VstInt32 index : {kThrComp, kRelease, kRatio, kThrLim}) {
    plugin.set(index, 1e6f);
    EXPECT_EQ(stepsOf(fx(), index), 32767) << index;
    plugin.set(index, -1e6f);
    EXPECT_EQ(stepsOf(fx(), index), -32768) << index;
  }
  for (VstInt32 index : {kOutput, kZoom}) {
    plugin.set(index, 1e12f);
    EXPECT_EQ(stepsOf(fx(), index), INT_MAX) << index;
    plugin.set(index, -1e12f);
    EXPECT_EQ(stepsOf(fx(), index), INT_MIN) << index;
  }
  EXPECT_EQ(plugin.display(kOutput), "2147507.65");
  plugin.set(kLookAhead, 1500.0f);
  EXPECT_EQ(fx().lookAheadValue, 1000.0f);
  EXPECT_EQ(plugin.record()->initialDelay, 440);
  plugin.set(kLookAhead, -5.0f);
  EXPECT_EQ(fx().lookAheadValue, 0.0f);
  EXPECT_EQ(plugin.record()->initialDelay, 0);
  plugin.set(kLookAhead, -0.0f);
  EXPECT_FALSE(std::signbit(fx().lookAheadValue.load()));
  EXPECT_EQ(plugin.display(kLookAhead), " 0");
}

TEST_F(Parameters, BrokenValuesAreIgnored) {
  plugin.dispatch(effSetProgram, 0, 1);
  const float broken[] = {std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity()};
  for (VstInt32 i = 0; i < 13; ++i) {
    const float before = plugin.get(i);
    const std::string shown = plugin.display(i);
    const float gain = fx().outputGain;
    const VstInt32 latency = plugin.record()->initialDelay;
    for (float value : broken) {
      plugin.set(i, value);
      EXPECT_EQ(plugin.get(i), before) << i;
      EXPECT_EQ(plugin.display(i), shown) << i;
      EXPECT_EQ(fx().outputGain, gain) << i;
      EXPECT_EQ(plugin.record()->initialDelay, latency) << i;
    }
  }
  EXPECT_EQ(fx().program(1).outputSteps, 17000);
}

TEST_F(Parameters, StepValuesHandedOutAreNeverOneAndReadBackAsNormalized) {
  const double maxima[] = {72, 24000, 999, 60, 20, 48, 1000};
  for (std::size_t k = 0; k < std::size(kStepParams); ++k) {
    const VstInt32 index = kStepParams[k].index;
    plugin.set(index, static_cast<float>(maxima[k]));
    const float handedOut = plugin.get(index);
    EXPECT_EQ(handedOut, 0.99999f) << index;
    plugin.set(index, 0.0f);
    plugin.set(index, handedOut);
    EXPECT_EQ(stepsOf(fx(), index), maxima[k]) << index;
    // Every value in the editor's range survives the round trip through the host.
    for (double steps = 0; steps <= maxima[k]; steps += 1) {
      plugin.set(index, static_cast<float>(steps));
      const float normalized = plugin.get(index);
      ASSERT_LT(normalized, 1.0f);
      plugin.set(index, normalized);
      ASSERT_EQ(stepsOf(fx(), index), steps) << index;
    }
  }
}

TEST_F(Parameters, ValuesBeyondTheScaleAreHandedOutWithinTheHostRange) {
  // Auto Normalize below 0 dB, a Zoom of 32, a host's negative natural value.
  plugin.set(kOutput, 24091.0f);
  EXPECT_EQ(plugin.get(kOutput), 0.99999f);
  plugin.set(kOutput, plugin.get(kOutput));
  EXPECT_EQ(fx().outputSteps, 24000); // 0 dB, never the natural value 1 (+24 dB)
  plugin.set(kZoom, 32.0f);
  EXPECT_EQ(plugin.get(kZoom), 0.99999f);
  plugin.set(kThrComp, -10.0f);
  EXPECT_EQ(plugin.get(kThrComp), 0.0f);
}

TEST_F(Parameters, SwitchesAndPlainValues) {
  for (VstInt32 index : {kSoft, kNormalize, kDither, kBypass}) {
    plugin.set(index, 0.3f);
    EXPECT_EQ(plugin.get(index), 1.0f) << index;
    EXPECT_EQ(plugin.display(index), "On");
    plugin.set(index, 0.0f);
    EXPECT_EQ(plugin.get(index), 0.0f) << index;
    EXPECT_EQ(plugin.display(index), "Off");
    plugin.set(index, -0.0f);
    EXPECT_EQ(plugin.display(index), "Off");
    plugin.set(index, -2.0f);
    EXPECT_EQ(plugin.display(index), "On");
  }
  plugin.set(kAutoRel, 0.3f);
  EXPECT_EQ(plugin.get(kAutoRel), 0.3f);
  EXPECT_EQ(plugin.display(kAutoRel), "Off");
  plugin.set(kAutoRel, 1.0f);
  EXPECT_EQ(plugin.get(kAutoRel), 1.0f);
  EXPECT_EQ(plugin.display(kAutoRel), "On");
  plugin.set(kAutoRel, 1.0001f);
  EXPECT_EQ(plugin.display(kAutoRel), "Off");
  plugin.set(kGainMemo, 7.25f);
  EXPECT_EQ(plugin.get(kGainMemo), 7.25f);
  EXPECT_EQ(fx().gainMemo, 7.25f);
  EXPECT_EQ(plugin.display(kGainMemo), "---");
}

TEST_F(Parameters, DisplayTexts) {
  struct Case {
    VstInt32 index;
    float value;
    const char* text;
  };
  const Case cases[] = {
      {kThrComp, 72, "-36.0"},
      {kThrComp, 0, "0.0"},
      {kThrComp, 1, "-0.5"},
      {kThrComp, 20, "-10.0"},
      {kOutput, 0, "24.00"},
      {kOutput, 24000, "0.00"},
      {kOutput, 14020, "9.98"},
      {kOutput, 7520, "16.48"},
      {kRelease, 250, "250"},
      {kRelease, 10, " 10"},
      {kRelease, 0, "  0"},
      {kRatio, 60, "30.0 : 1"},
      {kRatio, 2, "1.0 : 1"},
      {kRatio, 7, "3.5 : 1"},
      {kZoom, 2, " 2"},
      {kZoom, 20, "20"},
      {kThrLim, 48, "-24.0"},
      {kThrLim, 0, "0.0"},
      {kLookAhead, 999, "10"},
      {kLookAhead, 3, " 0"},
      {kLookAhead, 50, " 0"},
      {kLookAhead, 51, " 1"},
      {kLookAhead, 250, " 2"},
      {kLookAhead, 1000, "10"},
      {kRatio, 32767, "16383.5 : 1"},
      {kThrComp, -32768, "16384.0"},
  };
  for (const Case& c : cases) {
    plugin.set(c.index, c.value);
    EXPECT_EQ(plugin.display(c.index), c.text) << c.index << " at " << c.value;
  }
}

TEST_F(Parameters, DerivedCoefficients) {
  plugin.set(kThrComp, 20.0f);
  EXPECT_NEAR(fx().compThreshold, 0.3162278, 1e-6);
  plugin.set(kOutput, 4000.0f);
  EXPECT_NEAR(fx().outputGain, 10.0, 1e-5);
  plugin.set(kOutput, 24000.0f);
  EXPECT_EQ(fx().outputGain, 1.0f);
  plugin.set(kThrLim, 12.0f);
  EXPECT_NEAR(fx().limThreshold, 0.5011872, 1e-6);
  plugin.set(kRelease, 100.0f);
  EXPECT_EQ(fx().releaseSamples, 4410);
  plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 22050.0f);
  plugin.set(kRelease, 3.0f);
  EXPECT_EQ(fx().releaseSamples, 66); // truncate(22.05 x 3)
}

TEST_F(Parameters, NormalizeOnResetsTheGainEveryTime) {
  plugin.dispatch(effSetProgram, 0, 6);
  plugin.set(kOutput, 10000.0f);
  plugin.set(kNormalize, 1.0f);
  EXPECT_NEAR(fx().outputGain, 15.84931, 1e-5);
  EXPECT_EQ(fx().outputSteps, 0);
  EXPECT_EQ(fx().program(6).outputSteps, 10000); // the program keeps its own Output
  fx().outputGain = 2.0f;
  plugin.set(kNormalize, 0.7f);
  EXPECT_NEAR(fx().outputGain, 15.84931, 1e-5);
  fx().shownOutputGain = 3.0f;
  plugin.set(kNormalize, 0.0f);
  EXPECT_EQ(fx().shownOutputGain, 0.0f);
  EXPECT_EQ(fx().program(6).normalizeOn, 0);
}

TEST_F(Parameters, LimiterThresholdLinksTheOutputUnderNormalize) {
  plugin.dispatch(effSetProgram, 0, 6);
  plugin.set(kThrLim, 14.0f);
  EXPECT_EQ(fx().outputSteps, 24000); // no link while Normalize is off
  EXPECT_FALSE(fx().normalizeHold);
  const double ceilings[] = {0.99995, 0.9988, 0.9895, 0.9941};
  const std::int32_t linked[] = {17000, 17010, 17091, 17051};
  plugin.set(kNormalize, 1.0f);
  for (int c = 0; c < 4; ++c) {
    fx().displaySettings.normalizeCeilingIndex = c;
    fx().normalizeHold = false;
    fx().meterClampOnce = false;
    plugin.set(kThrLim, 14.0f);
    EXPECT_NEAR(fx().outputGain, std::pow(10.0, 14.0 / 40.0) * ceilings[c], 1e-5) << c;
    EXPECT_EQ(fx().outputSteps, linked[c]) << c;
    EXPECT_EQ(fx().program(6).outputSteps, linked[c]) << c;
    EXPECT_TRUE(fx().normalizeHold);
    EXPECT_TRUE(fx().meterClampOnce);
  }
  fx().displaySettings.normalizeCeilingIndex = 7; // out of range: as 0
  plugin.set(kThrLim, 14.0f);
  EXPECT_EQ(fx().outputSteps, 17000);
  EXPECT_EQ(plugin.display(kOutput), "7.00");

  // A natural value far past the scale links no more than the +24 dB Normalize starts from.
  plugin.set(kThrLim, 20000.0f);
  EXPECT_TRUE(std::isfinite(fx().outputGain.load()));
  EXPECT_LE(fx().outputGain, 15.84931f);
  EXPECT_EQ(fx().outputSteps, 0);
}

TEST_F(Parameters, EveryChangeMarksTheParametersChanged) {
  for (VstInt32 index : {0, 1, 4, 5, 9, 10, 12, 13, -1, 1000}) {
    fx().paramsChanged = false;
    plugin.set(index, 0.0f);
    EXPECT_TRUE(fx().paramsChanged) << index;
  }
}

TEST_F(Parameters, LatencyFollowsTheLookAhead) {
  const std::pair<float, VstInt32> cases[] = {{999, 439}, {1000, 440}, {0, 0},      {3, 0},
                                              {5, 1},     {4.5f, 0},   {0.5f, 219}, {2.266f, 0}};
  for (const auto& [value, latency] : cases) {
    plugin.set(kLookAhead, value);
    EXPECT_EQ(plugin.record()->initialDelay, latency) << value;
  }
  EXPECT_TRUE(RecordingHost::instance().requests(audioMasterIOChanged).empty());
  EXPECT_EQ(RecordingHost::instance().requests().size(), 1u); // the version query only
}

TEST_F(Parameters, ChangesAreMirroredInTheCurrentProgram) {
  plugin.dispatch(effSetProgram, 0, 7);
  plugin.set(kSoft, 0.0f);
  plugin.set(kDither, 1.0f);
  plugin.set(kThrComp, 30.0f);
  plugin.set(kOutput, 20000.0f);
  plugin.set(kRelease, 0.5f);
  plugin.set(kRatio, 9.0f);
  plugin.set(kZoom, 3.0f);
  plugin.set(kGainMemo, 0.25f);
  plugin.set(kAutoRel, 1.0f);
  plugin.set(kThrLim, 5.0f);
  plugin.set(kLookAhead, 77.0f);
  const PresetRecord& rec = fx().program(7);
  EXPECT_EQ(rec.softOn, 0);
  EXPECT_EQ(rec.ditherOn, 1);
  EXPECT_EQ(rec.compThresholdSteps, 30);
  EXPECT_EQ(rec.outputSteps, 20000);
  EXPECT_EQ(rec.releaseMs, 500);
  EXPECT_EQ(rec.ratioSteps, 9);
  EXPECT_EQ(rec.zoomSteps, 3);
  EXPECT_EQ(rec.gainMemo, 0.25f);
  EXPECT_EQ(rec.autoRelease, 1.0f);
  EXPECT_EQ(rec.limThresholdSteps, 5);
  EXPECT_EQ(rec.lookAheadValue, 77.0f);
  EXPECT_EQ(fx().program(8).compThresholdSteps, 20); // other programs untouched
}
