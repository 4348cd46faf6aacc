// Parameter values in the units the plug-in shows, read from Zembrac's own display texts.
#include "Options.h"
#include "ParameterScale.h"
#include "PluginHost.h"
#include "RenderCommand.h"
#include "RenderError.h"
#include "RenderHarness.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// A step parameter as the README describes it: natural steps 0..top, shown as
// offset + steps * perStep with the given decimals; hosts read steps / top back.
struct StepParameter {
  int index;
  int top;
  int stride; // natural steps between two display values
  double offset;
  double perStep;
  int decimals;
};

constexpr StepParameter kSteps[] = {
    {4, 72, 1, 0.0, -0.5, 1},        // ThrComp, dB
    {5, 24000, 10, 24.0, -0.001, 2}, // Output, dB
    {6, 999, 1, 0.0, 1.0, 0},        // Release, ms
    {7, 60, 1, 0.0, 0.5, 1},         // Ratio, : 1
    {8, 20, 1, 0.0, 1.0, 0},         // Zoom
    {11, 48, 1, 0.0, -0.5, 1},       // ThrLim, dB
    {12, 1000, 100, 0.0, 0.01, 0},   // LookAhead, ms (hundredths of a millisecond)
};
constexpr int kSwitches[] = {0, 1, 2, 3, 10};

class ZembracValues : public testing::Test {
protected:
  PluginHost host{zembracPath()};
  PluginHost probe{zembracPath()};

  float applied(int index, const ResolvedValue& value) {
    host.setParameter(index, value.normalized);
    return host.parameterValue(index);
  }
};

TEST_F(ZembracValues, EveryStepOfEveryParameterComesOutExact) {
  for (const StepParameter& p : kSteps) {
    const ParameterScale scale(probe, p.index);
    for (int steps = 0; steps <= p.top; steps += p.stride) {
      char text[32];
      std::snprintf(text, sizeof text, "%.*f", p.decimals, p.offset + steps * p.perStep);
      const ResolvedValue value = scale.resolve(text);
      const float expected =
          std::min(static_cast<float>(steps) / static_cast<float>(p.top), 0.99999f);
      ASSERT_EQ(applied(p.index, value), expected) << host.parameterName(p.index) << "=" << text;
      EXPECT_FALSE(value.note) << text;
    }
  }
  for (const int index : kSwitches) {
    const ParameterScale scale(probe, index);
    for (const char* on : {"On", "on", "1", "true", "yes"}) {
      EXPECT_EQ(applied(index, scale.resolve(on)), 1.0f) << index << " " << on;
    }
    for (const char* off : {"Off", "0", "false", "no"}) {
      EXPECT_EQ(applied(index, scale.resolve(off)), 0.0f) << index << " " << off;
    }
  }
}

TEST_F(ZembracValues, UnitsNearestStepsAndRangesAreSpelledOut) {
  const ParameterScale thrLim(probe, 11), ratio(probe, 7), memo(probe, 9);
  for (const char* same : {"-3", "-3dB", "-3 db", "-3.0 dB", "-2.9", "-3.2"}) {
    EXPECT_EQ(thrLim.resolve(same).shown, "-3.0 dB") << same;
  }
  EXPECT_FALSE(thrLim.resolve("-3dB").note);
  ASSERT_TRUE(thrLim.resolve("-3.2").note);
  EXPECT_NE(thrLim.resolve("-3.2").note->find("-3.0 dB"), std::string::npos);
  EXPECT_EQ(thrLim.resolve("-3.3").shown, "-3.5 dB");
  for (const char* bad : {"-30", "0.5", "-24.3", "-3ms", "-3 dB dB", "loud"}) {
    try {
      thrLim.resolve(bad);
      ADD_FAILURE() << bad << " was taken";
    } catch (const RenderError& e) {
      EXPECT_NE(std::string(e.what()).find("-24.0 to 0.0 dB in steps of 0.5"), std::string::npos)
          << e.what();
    }
  }
  EXPECT_EQ(ratio.resolve("4:1").normalized, ratio.resolve("4").normalized);
  EXPECT_EQ(ratio.resolve("4 : 1").shown, "4.0 : 1");
  // Texts that are not numbers: normalized values go through as they are.
  EXPECT_EQ(memo.resolve("0.25").normalized, 0.25f);
  EXPECT_THROW(memo.resolve("2"), RenderError);
}

TEST_F(ZembracValues, RawValuesFollowTheDisplayedOnesUnchanged) {
  Options options;
  options.program = "Init";
  options.settings = {{"ThrLim", "-6"}};
  options.rawSettings = {{5, 21000.0f}, {9, 0.125f}};
  const std::vector<int> set = applySettings(host, probe, options, nullptr);
  EXPECT_EQ(set, (std::vector<int>{11, 5, 9}));
  EXPECT_EQ(host.parameterDisplay(11), "-6.0");
  EXPECT_EQ(host.parameterValue(5), 0.875f); // natural 21000 steps: +3 dB
  EXPECT_EQ(host.parameterValue(9), 0.125f);
}

// The README's promise: a full-scale sine through "Init" at 1:1 with the limiter at -3 dB
// peaks at -3 dB in the file, and a value between steps is said once.
TEST(RenderValues, LimiterThresholdInDecibelsIsTheOutputPeak) {
  ScratchDir dir;
  Sound sine;
  for (int i = 0; i < 44100; ++i) {
    const auto v = static_cast<float>(std::sin(2 * M_PI * 997.0 * i / 44100.0));
    sine.samples.insert(sine.samples.end(), {v, v});
  }
  writeSound(dir.file("in.wav"), sine, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  const RunResult run = runRenderer({"--program", "Init", "--set", "Ratio=1", "--set",
                                     "ThrLim=-3.1dB", dir.file("in.wav"), dir.file("out.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(lines(run.err).size(), 1u) << run.err;
  EXPECT_NE(run.err.find("-3.0 dB"), std::string::npos) << run.err;
  float peak = 0.0f;
  for (const float v : readSound(dir.file("out.wav")).samples) {
    peak = std::max(peak, std::fabs(v));
  }
  EXPECT_NEAR(20.0 * std::log10(peak), -3.0, 0.05);
}

} // namespace
